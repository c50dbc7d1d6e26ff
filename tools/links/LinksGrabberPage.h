// The Links Grabber page: the folder, file list and clipboard sources of the links search,
// the folder search on a worker, and the displayed link list with its views and export.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/FolderWalk.h"
#include "platform/TextList.h"
#include "tools/check/ShownLinks.h"
#include "tools/links/LinkView.h"
#include "ui/LongJob.h"
#include "ui/ToolPage.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QProgressBar;
class QPushButton;

namespace pagelathe {

class LinkCheckWindow;
class TextListModel;
class TFileDialog;
class TFileListBox;
class TFilterComboBox;
class TPanel;
class TRadioGroup;

// The worker of the folder search.
class Search : public LongJob {
  Q_OBJECT
 public:
  using LongJob::LongJob;
};

// The worker of a large single document's search and of the rebuild of a long view.
class LinkViewJob : public LongJob {
  Q_OBJECT
 public:
  using LongJob::LongJob;
};

class LinksGrabberPage : public ToolPage {
  Q_OBJECT
 public:
  explicit LinksGrabberPage(PageContext& context, QWidget* parent = nullptr);
  ~LinksGrabberPage() override;

  void ApplySettings(const AppSettings& settings) override;
  void FirstShow() override;
  void StoreSettings(AppSettings& settings) const override;
  void ApplicationActivated() override;
  void StopJobs() override;
  // Gives Get the width of the wider of its caption and the stop text it shows while a page
  // is fetched ("Загрузить" is twice as wide as "Get").
  void LanguageApplied() override;

  // A single document: `document_lines` become the window's current document and are
  // searched and shown. The file click and the clipboard come through here; so may any other
  // source of one document. Does nothing while a folder search, a fetch or a large document's
  // search runs.
  void SearchDocument(TextList document_lines);
  // Searches the window's current document alone and shows the result. A document of more
  // than a megabyte is searched on a worker: until it is done the sources, the view's options
  // and the list wait (ViewBusy), and the results arrive through the window's events.
  void SearchCurrentDocument();
  // True while a large document is searched or a long view rebuilt on the worker.
  [[nodiscard]] bool ViewBusy() const { return view_busy_; }
  // True while a folder search runs (the single-document sources are disabled then).
  [[nodiscard]] bool Searching() const { return searching_; }

  // Rebuilds the displayed list from the window's found links, then runs `then`. More than
  // 20,000 found links are rebuilt on the worker, the options and the list waiting meanwhile.
  void BuildLinkView(std::function<void()> then = {});
  // The lines shown, in order.
  [[nodiscard]] const TextList& ShownLines() const;

  // Handlers.
  void ButtonSearchLinksClick();
  void FinishSearch();
  void EditFolderChange();
  void FileListBoxFilesClick(const std::string& name);
  void ButtonFromClipboardClick();
  // The page fetch: Get fetches the page of EditUrl and searches it; Enter (key 13) fetches
  // it without searching; a change typed into EditUrl becomes the remembered address. While a
  // fetch waits, the status bar says so, the page shows a busy cursor, Get is the stop button
  // and Escape (key 27) in EditUrl stops too; Enter and the other sources of a document (the
  // clipboard, the file list, the link type, Search) do nothing. A stopped fetch leaves the
  // current document empty and searches nothing.
  void ButtonGetUrlClick();
  void EditUrlKeyDown(int key);
  void EditUrlChange();
  // True while a page is being fetched.
  [[nodiscard]] bool Fetching() const { return fetching_; }
  void RadioGroupLinksClick();
  void ButtonFolderLinksClick();
  void CheckBoxSortClick();
  void CheckBoxNoHttpClick();
  void RadioGroupViewClick();
  void ButtonRemoveClick();
  void ButtonClearLinksClick();
  void ButtonToClipboardClick();
  void ButtonSaveClick();
  void SaveDialog1TypeChange();
  // Check opens the link check window over the links shown, with the places they have in the
  // documents of the last search; a place chosen there shows its file in the file list (its
  // folder shown, the file selected) or its page's address, and the place in the status bar.
  void ButtonCheckLinksClick();
  void ShowPlace(const std::string& document, int line);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Shared;
  void CreateControls();
  void ConnectHandlers();
  void StartSearch();
  // Enables each control as the running jobs allow (a folder search, a fetch, the worker of
  // the view); Save also waits for the first search.
  void UpdateControlStates();
  // True while a job owns the current document and the list: a folder search, a fetch or the
  // view's worker. The sources of a document and the list's commands wait meanwhile.
  [[nodiscard]] bool Busy() const { return searching_ || fetching_ || view_busy_; }
  void BeginViewJob();
  void EndViewJob();
  // The controls while a fetch waits, and back.
  void ShowFetching(bool fetching);
  // Ends a waiting fetch at once, as the socket client's Cancel does.
  void StopFetch();
  void ShowLinkCount();
  // Empties the current document and makes the fetched page its one entry. False when the
  // fetch was canceled because the window is closing.
  bool FetchPage(const std::string& url);
  [[nodiscard]] LinkViewOptions CurrentViewOptions() const;

  TextListModel* links_model_ = nullptr;
  bool searching_ = false;
  bool stop_requested_ = false;  // the running search was stopped by the user
  bool fetching_ = false;
  bool view_busy_ = false;
  bool view_stopping_ = false;   // the window closes: the view's worker delivers nothing
  bool save_allowed_ = false;    // Save is enabled by the first search
  bool fetch_canceled_ = false;  // the user or the closing window stopped the fetch
  QString status_before_fetch_;
  bool sub_dirs_ = true;  // "Sub Dirs" as the running search took it
  bool closing_ = false;  // the window is closing: jobs end without a word
  // Where the current document came from: the places of the links the check window checks.
  ShownLinksSource check_source_;
  std::shared_ptr<Shared> shared_;

  // Controls.
  QLabel* LabelFolder = nullptr;
  QLineEdit* EditFolder = nullptr;
  QPushButton* ButtonFolderLinks = nullptr;
  TFilterComboBox* FilterComboBoxFiles = nullptr;
  TFileListBox* FileListBoxFiles = nullptr;
  QLabel* LabelUrl = nullptr;
  QLineEdit* EditUrl = nullptr;
  QPushButton* ButtonGetUrl = nullptr;
  QGroupBox* GroupBoxSearchType = nullptr;
  QComboBox* ComboBoxSearch = nullptr;
  TRadioGroup* RadioGroupLinks = nullptr;
  QCheckBox* CheckBoxSubDirs = nullptr;
  QPushButton* ButtonSearchLinks = nullptr;
  QPushButton* ButtonFromClipboard = nullptr;
  QProgressBar* pbGrabber = nullptr;
  TPanel* PanelLinks = nullptr;
  QListView* ListBoxLinks = nullptr;
  TRadioGroup* RadioGroupView = nullptr;
  QCheckBox* CheckBoxSort = nullptr;
  QCheckBox* CheckBoxNoHttp = nullptr;
  QPushButton* ButtonRemove = nullptr;
  QPushButton* ButtonClearLinks = nullptr;
  QPushButton* ButtonToClipboard = nullptr;
  QPushButton* ButtonSave = nullptr;
  QPushButton* ButtonCheckLinks = nullptr;
  TFileDialog* SaveDialog1 = nullptr;
  LinkCheckWindow* FormLinkCheck = nullptr;
  Search* SearchWorker = nullptr;
  LinkViewJob* ViewWorker = nullptr;
  // Taken when a search starts.
  std::string SearchProtocol;
  std::string RootFolder;
  FolderCounters Counters;
};

}  // namespace pagelathe
