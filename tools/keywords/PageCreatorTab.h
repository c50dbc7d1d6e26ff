// The Create Page tab: a complete HTML page from a title, a description, the collected
// keywords and a text; its code can be edited, saved and opened in the desktop's viewer.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace pagelathe {

class KeywordSearchTab;
class TFileDialog;
class TForm1;
class TPanel;

class PageCreatorTab : public QWidget {
  Q_OBJECT
 public:
  PageCreatorTab(TForm1& form, KeywordSearchTab& search, QWidget* parent = nullptr);

  // The tab became the current one.
  void Entered();
  // Handlers.
  void cbInsertTextClick();
  void ButtonPageCreateClick();
  void ButtonPageSaveClick();
  void ButtonPagePreviewClick();

  // What opens a saved page: by default the desktop's viewer for the file. It returns false
  // when nothing could take the file (no desktop launcher), and Preview then says so. Tests
  // put their own in so that no browser starts; pass nothing to restore the default.
  using FileOpener = std::function<bool(const QString& path)>;
  static void SetFileOpener(FileOpener opener);

  QLabel* LabelPageTitle;
  QLabel* LabelPageDesc;
  QLabel* LabelPageKW;
  QLabel* LabelPageText;
  QLineEdit* EditPageTitle;
  QLineEdit* EditPageDesc;
  QPlainTextEdit* MemoPageKW;
  QPlainTextEdit* MemoPageText;
  QCheckBox* cbInsertText;
  TPanel* PanelPageCode;
  QPlainTextEdit* MemoPageCode;
  QPushButton* ButtonPageCreate;
  QPushButton* ButtonPageSave;
  QPushButton* ButtonPagePreview;
  TFileDialog* SaveDialogKW;

 private:
  void BuildControls();
  void LayOut();

  TForm1& form_;
  KeywordSearchTab& search_;
  std::string suggested_name_;  // the file opened on the search tab when the page was made
  QString saved_file_;          // the page last saved, which Preview opens
};

}  // namespace pagelathe
