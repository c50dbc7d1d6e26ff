// The Create Page tab: a complete HTML page from a title, a description, the collected
// keywords and a text; its code can be edited, saved and opened in the desktop's viewer.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "ui/LongJob.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace pagelathe {

class KeywordSearchTab;
class MemoSlices;
class PageContext;
class TFileDialog;
class TPanel;

// The worker that builds a page.
class PageJob : public LongJob {
  Q_OBJECT
 public:
  using LongJob::LongJob;
};

class PageCreatorTab : public QWidget {
  Q_OBJECT
 public:
  PageCreatorTab(PageContext& context, KeywordSearchTab& search, QWidget* parent = nullptr);

  ~PageCreatorTab() override;

  // The tab became the current one.
  void Entered();
  // Handlers. Copying the first tab's text ("insert from text") and Create run as long jobs:
  // the memos are read and filled in slices and the page is built on a worker, so a text of
  // a hundred megabytes never freezes the window. While Create runs its button is the stop
  // button, and the text, "insert from text" and Save wait; while the text is copied, Create
  // waits. A stop keeps what a memo being filled got so far.
  void cbInsertTextClick();
  void ButtonPageCreateClick();
  void ButtonPageSaveClick();
  void ButtonPagePreviewClick();

  // What opens a saved page: by default the desktop's viewer for the file. It returns false
  // when nothing could take the file (no desktop launcher), and Preview then says so. Tests
  // put their own in so that no browser starts; pass nothing to restore the default.
  using FileOpener = std::function<bool(const QString& path)>;
  static void SetFileOpener(FileOpener opener);

  // True while the text is copied or a page is created.
  [[nodiscard]] bool Busy() const { return copying_ || creating_; }
  // Stops what runs (the window closes).
  void StopJobs();

 private:
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
  PageJob* PageWorker;

  void BuildControls();
  void LayOut();
  void StopCopy();
  void StopCreate();
  void EndCreate();

  PageContext& context_;
  KeywordSearchTab& search_;
  std::string suggested_name_;  // the file opened on the search tab when the page was made
  QString saved_file_;          // the page last saved, which Preview opens
  MemoSlices* slices_;
  bool copying_ = false;
  bool creating_ = false;
  bool page_made_ = false;  // Save is enabled from the first page on
  bool stopping_ = false;   // the finishing step that a stop runs takes nothing over
  QString create_caption_;
};

}  // namespace pagelathe
