// The Search Keywords tab: a text, the words that occur in it often enough, and the keyword
// list that the user collects from them, from typed words and from files.
#pragma once

#include <QWidget>
#include <string>

#include "platform/TextList.h"
#include "tools/keywords/KeywordSearch.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTreeView;

namespace pagelathe {

class KeywordListModel;
class TFileDialog;
class TForm1;
class TPanel;

class KeywordSearchTab : public QWidget {
  Q_OBJECT
 public:
  explicit KeywordSearchTab(TForm1& form, QWidget* parent = nullptr);

  // Handlers.
  void ButtonOpenFileClick();
  void ButtonKWSearchClick();
  void cbCaseClick();
  void ListViewKWColumnClick(int column);
  void ButtonKWAddClick();
  void ButtonKWClearClick();
  void ButtonKWCheckClick();
  void ButtonKWUncheckClick();
  void EditKWKeyDown(int key);
  void ButtonKWInsertClick();
  void ButtonKWRemoveClick();
  void ListBoxKWKeyDown(int key);
  void ButtonKWClearTextClick();

  // The count captions: message text and number of rows / keywords.
  void UpdateWordsPanel();
  void UpdateKeywordsPanel();

  // What the page creator takes from this tab.
  [[nodiscard]] TextList KeywordItems() const;
  [[nodiscard]] QString MemoText() const;
  [[nodiscard]] const KeywordSortState& SortState() const { return sort_state_; }

  TPanel* PanelKWText;
  TPanel* PanelKWWords;
  TPanel* PanelKWKeywords;
  QPlainTextEdit* MemoKW;
  QLabel* LabelSearchLength;
  QLabel* LabelSearchFreq;
  QLineEdit* EditKWLength;
  QLineEdit* EditKWFreq;
  QCheckBox* cbCase;
  QTreeView* ListViewKW;
  KeywordListModel* ListViewKWRows;
  QListWidget* ListBoxKW;
  QLineEdit* EditKW;
  QPushButton* ButtonOpenFile;
  QPushButton* ButtonKWSearch;
  QPushButton* ButtonKWClearText;
  QPushButton* ButtonKWCheck;
  QPushButton* ButtonKWUncheck;
  QPushButton* ButtonKWAdd;
  QPushButton* ButtonKWRemove;
  QPushButton* ButtonKWInsert;
  QPushButton* ButtonKWClear;
  QProgressBar* pbKW;
  TFileDialog* OpenDialog1;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void LayOut();
  // Shows the open dialog in the keywords folder; the chosen path, or nothing on Cancel.
  bool ChooseFile(std::string& path);

  TForm1& form_;
  KeywordSortState sort_state_;
};

}  // namespace pagelathe
