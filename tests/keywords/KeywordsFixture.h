// A main window in a temporary program folder with the Keywords page's tabs at hand, file
// dialogs answered by the test and no browser opened.
#pragma once

#include <gtest/gtest.h>
#include <QApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QPushButton>
#include <memory>
#include <string>

#include "app/TForm1.h"
#include "support/GuiTest.h"
#include "support/TempFolder.h"
#include "tools/keywords/KeywordSearchTab.h"
#include "tools/keywords/KeywordsPage.h"
#include "tools/keywords/PageCreatorTab.h"
#include "ui/FileDialogs.h"
#include "ui/PageContext.h"
#include "ui/QtText.h"
#include "ui/TextListModel.h"

namespace pagelathe::testing {

// What a file dialog was shown with, and the answer the test gives it.
struct DialogCall {
  std::string name;  // objectName of the dialog
  QString initial_dir;
  QString proposed;
};

class KeywordsFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.Write("brevanoth-pagelathe.ini", "[Options]\r\nfirstStart=0\r\n");
    form_ = std::make_unique<TForm1>(dir_.Path());
    form_->Context().Texts().StringWords = "Words: ";
    form_->Context().Texts().StringKeywords = "Keywords: ";
    page_ = form_->Page<KeywordsPage>();
    search_ = testing::Find<KeywordSearchTab>(page_, "TabSheetKeywordsSearch");
    creator_ = testing::Find<PageCreatorTab>(page_, "TabSheetKeywordsCreate");
    RecordedMessages().clear();
    TFileDialog::SetChooser([this](TFileDialog& dialog) {
      calls_.push_back({dialog.objectName().toStdString(), dialog.InitialDir, dialog.FileName});
      if (answer_.empty()) return false;
      dialog.FileName = ToQ(answer_);
      return true;
    });
    PageCreatorTab::SetFileOpener([this](const QString& path) {
      opened_.push_back(path);
      return opener_works_;
    });
  }

  void TearDown() override {
    TFileDialog::SetChooser(nullptr);
    PageCreatorTab::SetFileOpener(nullptr);
  }

  // The next file dialog picks `path`; an empty path cancels it.
  void Answer(const std::string& path) { answer_ = path; }

  // Waits for the tabs' jobs (Open, Insert From File, Search, the copied text, Create).
  [[nodiscard]] bool Idle() const {
    return WaitFor([this] { return !search_->Busy() && !creator_->Busy(); }, 300000);
  }

  // The keyword list holds `items`.
  void SetItems(const TextList& items) {
    testing::Find<TextListModel>(search_, "ListBoxKWItems")->SetLines(items);
  }
  // Selects the keyword list's row as a click with Ctrl would.
  void SelectItem(int row) {
    testing::Find<QListView>(search_, "ListBoxKW")
        ->selectionModel()
        ->select(testing::Find<TextListModel>(search_, "ListBoxKWItems")->index(row),
                 QItemSelectionModel::Select);
  }

  // A key press delivered as the application delivers it (exceptions end in a message box).
  static void PressKey(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
  }

  // A button pressed with the space bar, delivered through the application (a mouse click
  // would need the button laid out on screen).
  static void ClickButton(QPushButton* button) { PressKey(button, Qt::Key_Space); }

  TempFolder dir_;
  std::unique_ptr<TForm1> form_;
  KeywordsPage* page_ = nullptr;
  KeywordSearchTab* search_ = nullptr;
  PageCreatorTab* creator_ = nullptr;
  std::vector<DialogCall> calls_;
  std::vector<QString> opened_;
  bool opener_works_ = true;  // false: the desktop has nothing that opens a page

 private:
  std::string answer_;
};

}  // namespace pagelathe::testing
