// The Links Grabber page's searches: the folder search on the `Search` worker, single
// documents (a clicked file, the clipboard, a fetched page) and the page fetch. The folder
// search works on lists of its own: it hands each document's links to a shared record under a
// lock, and the finishing step, on the window's thread, moves them into the window's lists
// (or copies what is there when the search was stopped). Only the window's thread touches
// controls and window lists.
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <mutex>
#include <new>
#include <utility>

#include "net/TNMHTTP.h"
#include "platform/FileIO.h"
#include "platform/IntParse.h"
#include "tools/links/FolderSearch.h"
#include "tools/links/LinkExtract.h"
#include "tools/links/LinksGrabberPage.h"
#include "ui/Controls.h"
#include "ui/FolderDialog.h"
#include "ui/Messages.h"
#include "ui/PageContext.h"
#include "ui/QtText.h"
#include "ui/TextListModel.h"

namespace pagelathe {
namespace {

// Up to this size a document is searched on the window's thread at once (a few
// milliseconds); a larger one goes to a worker, so the window answers meanwhile.
constexpr size_t kInlineDocumentBytes = size_t{1} << 20;

size_t DocumentBytes(const TextList& lines) {
  size_t bytes = 0;
  for (const std::string& line : lines)
    bytes += line.size() + 1;
  return bytes;
}

}  // namespace

// What the worker of one search and the window share. The worker is the only writer of
// `found` and of the last document; once `taken` is set it adds nothing more.
struct LinksGrabberPage::Shared {
  std::mutex mutex;
  bool taken = false;  // the finishing step has taken the results
  bool done = false;   // the worker's body has returned
  LinkStore found;
  DocumentBuffer last_document;
  bool have_document = false;
  FolderCounters counters;
  FolderSearchResult result;
  LinkViewOptions view_options;      // as the search started
  TextList view;                     // built by the worker after a complete search
  std::vector<std::string> skipped;  // messages naming the documents that could not be read
};

// The folder search.

void LinksGrabberPage::ButtonSearchLinksClick() {
  // The fetched page, or a large document being searched, becomes the current one first.
  if (fetching_ || view_busy_) return;
  searching_ = !searching_;
  if (searching_) {
    StartSearch();
  } else {
    stop_requested_ = true;
    SearchWorker->Stop();  // runs FinishSearch at once
  }
}

void LinksGrabberPage::StartSearch() {
  context_.FoundLinks().clear();
  context_.TokenList().clear();
  links_model_->Clear();
  ShowStopCaption(ButtonSearchLinks, ToQ(context_.Texts().StringStop));
  Counters = {};
  SearchProtocol = FromQ(ComboBoxSearch->currentText());
  context_.FolderList().clear();
  RootFolder = PathText(EditFolder);
  context_.FolderList().push_back(RootFolder);
  sub_dirs_ = CheckBoxSubDirs->isChecked();
  check_source_ = {ShownLinksSource::Kind::kFolder, RootFolder, sub_dirs_,
                   FileListBoxFiles->Mask()};
  UpdateControlStates();

  auto shared = std::make_shared<Shared>();
  shared->view_options = CurrentViewOptions();
  shared_ = shared;
  LinkExtractor extractor(SearchProtocol, LinkShapeAt(RadioGroupLinks->ItemIndex()),
                          context_.ExclusionLines());
  const std::string masks = FileListBoxFiles->Mask();
  SearchWorker->Start(
      [this, shared, extractor = std::move(extractor), root = RootFolder, sub_dirs = sub_dirs_,
       masks](LongJob::Context& context) {
        // What the window shows of the search; each update carries the whole of it, so a
        // held-back update loses nothing.
        struct Shown {
          std::string folder;
          int percent = 0;
          std::string file;
          bool has_file = false;
          std::string failure;  // what could not be read, shown until the next document
        } shown;
        auto post = [this, &context, &shown] {
          context.Progress([this, shown] {
            if (PathText(EditFolder) != shown.folder) SetPathText(EditFolder, shown.folder);
            pbGrabber->setValue(shown.percent);
            if (!shown.failure.empty()) {
              context_.ShowStatusText(DocumentToQ(shown.failure));
            } else if (shown.has_file) {
              context_.ShowStatusText(ToQ(context_.Texts().StringProccessedFiles) +
                                      DocumentToQ(shown.file));
            }
          });
        };
        FolderSearchResult result;
        bool first_folder = true;
        FolderSearchCallbacks callbacks;
        callbacks.folder_started = [&](const std::string& folder) {
          if (first_folder) {  // the walk is over: its counters are final
            first_folder = false;
            const std::lock_guard lock(shared->mutex);
            shared->counters = result.counters;
          }
          shown.folder = folder;
          post();
        };
        callbacks.document_searched = [&](int percent, const std::string& name,
                                          const LinkStore& links, DocumentBuffer& document) {
          {
            const std::lock_guard lock(shared->mutex);
            if (shared->taken) return;
            shared->found.AppendAll(links);
            shared->last_document.swap(document);  // the old storage is read into next
            shared->have_document = true;
          }
          shown.percent = percent;
          shown.file = name;
          shown.has_file = true;
          shown.failure.clear();
          post();
        };
        callbacks.document_skipped = [&](const std::string&, const std::string& message) {
          {
            const std::lock_guard lock(shared->mutex);
            if (shared->taken) return;
            shared->skipped.push_back(message);
          }
          shown.failure = message;
          post();
        };
        // No folder reads nothing (an empty path would read the process's current folder).
        if (DirectoryExists(root)) {
          RunFolderSearch(root, sub_dirs, masks, extractor, callbacks, result, &context.StopFlag());
        } else {
          result.folders = {root};
        }
        // Only this thread writes `found`, so reading it while the window may copy it is safe.
        TextList view;
        if (!result.stopped) view = pagelathe::BuildLinkView(shared->found, shared->view_options);
        const std::lock_guard lock(shared->mutex);
        shared->counters = result.counters;
        shared->result = std::move(result);
        shared->view = std::move(view);
        shared->done = true;
      },
      [this] { FinishSearch(); });
}

void LinksGrabberPage::FinishSearch() {
  searching_ = false;
  const bool stopped = std::exchange(stop_requested_, false);
  bool complete = false;
  bool view_ready = false;
  std::vector<std::string> skipped;
  if (std::shared_ptr<Shared> shared = std::move(shared_)) {
    const std::lock_guard lock(shared->mutex);
    shared->taken = true;
    skipped = std::move(shared->skipped);
    Counters = shared->counters;
    // A stop that comes after the last document but before this step is a stop all the same.
    complete = shared->done && !shared->result.stopped && !stopped;
    if (shared->done) {
      context_.FoundLinks() = std::move(shared->found);
      context_.FolderList() = std::move(shared->result.folders);
    } else {
      context_.FoundLinks() = shared->found;  // the worker may still be reading it
    }
    if (shared->have_document) {
      try {
        context_.DocumentLines() = SplitLines(shared->last_document.View());
      } catch (const std::bad_alloc&) {  // the window must come back all the same
        context_.DocumentLines().clear();
      }
    }
    if (complete && shared->view_options == CurrentViewOptions()) {
      links_model_->SetLines(std::move(shared->view));
      view_ready = true;
    }
  }
  save_allowed_ = true;
  pbGrabber->setValue(0);
  SetPathText(EditFolder, RootFolder);
  FileListBoxFiles->Update();
  EndStopCaption(ButtonSearchLinks);
  ButtonSearchLinks->setText(ToQ(context_.Texts().StringSearch));
  if (CheckBoxSubDirs->isChecked())
    context_.SetStatusText(context_.Texts().StringProccessedFiles + IntToStr(Counters.FileCount) +
                           "  " + context_.Texts().StringFolders + IntToStr(Counters.FolderCount));
  UpdateControlStates();
  // Options changed while the search ran: the list follows the options as they are now.
  if (complete && !view_ready) {
    BuildLinkView([this] { ShowLinkCount(); });
  } else {
    ShowLinkCount();
  }
  // Not while the window closes: nobody is there to read it, and it must not hold the close.
  if (!skipped.empty() && !closing_)
    ShowMessage(FailureListMessage("These documents were not searched:", skipped), window());
}

// Single documents.

void LinksGrabberPage::SearchCurrentDocument() {
  // One document at a time: a folder search, a fetch or a large document's search in
  // progress owns the current one.
  if (Busy()) return;
  context_.FoundLinks().clear();
  context_.TokenList().clear();
  links_model_->Clear();
  SearchProtocol = FromQ(ComboBoxSearch->currentText());
  const auto done = [this] {
    ShowLinkCount();
    save_allowed_ = true;
    UpdateControlStates();
  };
  if (DocumentBytes(context_.DocumentLines()) <= kInlineDocumentBytes) {
    context_.TokenList() = CutIntoPieces(context_.DocumentLines());
    ExtractLinks(context_.DocumentLines(), SearchProtocol,
                 LinkShapeAt(RadioGroupLinks->ItemIndex()), context_.ExclusionLines(),
                 context_.FoundLinks());
    BuildLinkView(done);
    return;
  }
  // The document goes with the worker and comes back with its pieces, links and view.
  struct Outcome {
    TextList document;
    TextList pieces;
    LinkStore found;
    TextList view;
  };
  auto outcome = std::make_shared<Outcome>();
  outcome->document = std::move(context_.DocumentLines());
  context_.DocumentLines().clear();
  const LinkViewOptions options = CurrentViewOptions();
  BeginViewJob();
  ViewWorker->Start(
      [outcome, options,
       extractor = LinkExtractor(SearchProtocol, LinkShapeAt(RadioGroupLinks->ItemIndex()),
                                 context_.ExclusionLines())](LongJob::Context&) {
        outcome->pieces = CutIntoPieces(outcome->document);
        extractor.ExtractLines(outcome->document, outcome->found);
        outcome->view = pagelathe::BuildLinkView(outcome->found, options);
      },
      [this, outcome, done] {
        if (view_stopping_) return;  // the window closes; the worker may still hold it all
        context_.DocumentLines() = std::move(outcome->document);
        context_.TokenList() = std::move(outcome->pieces);
        context_.FoundLinks() = std::move(outcome->found);
        links_model_->SetLines(std::move(outcome->view));
        EndViewJob();
        done();
      });
}

void LinksGrabberPage::SearchDocument(TextList document_lines) {
  if (Busy()) return;
  context_.DocumentLines() = std::move(document_lines);
  check_source_ = {ShownLinksSource::Kind::kText, "text"};
  SearchCurrentDocument();
}

void LinksGrabberPage::FileListBoxFilesClick(const std::string& name) {
  if (Busy()) return;
  // Loaded first, so a file that cannot be read leaves the previous results as they were.
  // The links search keeps the document's bytes; only what is shown is decoded.
  const std::string path = JoinPath(PathText(EditFolder), name);
  SearchDocument(SplitLines(ReadUserFile(path)));
  check_source_ = {ShownLinksSource::Kind::kFile, path};
}

void LinksGrabberPage::ButtonFromClipboardClick() {
  if (Busy()) return;
  SearchDocument(SplitLines(FromQ(QGuiApplication::clipboard()->text())));
  check_source_.name = "clipboard";
}

void LinksGrabberPage::RadioGroupLinksClick() {
  SearchCurrentDocument();
}

void LinksGrabberPage::EditFolderChange() {
  const std::string folder = PathText(EditFolder);
  FileListBoxFiles->SetDirectory(DirectoryExists(folder) ? folder : std::string());
}

void LinksGrabberPage::ButtonFolderLinksClick() {
  TFolderDialog& dialog = context_.FolderDialog1();
  dialog.Directory = PathText(EditFolder);
  if (!dialog.Execute(this) || dialog.Directory.empty()) return;
  std::string folder = dialog.Directory;
  if (folder.back() != '/') folder += '/';
  context_.Settings().LinksFolder = folder;
  SetPathText(EditFolder, folder);
  FileListBoxFiles->SetDirectory(folder);
}

// The page fetch.

void LinksGrabberPage::ShowFetching(bool fetching) {
  UpdateControlStates();
  EditUrl->setReadOnly(fetching);  // the address shown is the one being fetched
  if (fetching) {
    status_before_fetch_ = context_.StatusLine();
    context_.ShowStatusText(ToQ(context_.Texts().StringFetchingPage) + EditUrl->text());
    setCursor(Qt::BusyCursor);
    ShowStopCaption(ButtonGetUrl, ToQ(context_.Texts().StringStop));
  } else {
    context_.ShowStatusText(status_before_fetch_);
    unsetCursor();
    EndStopCaption(ButtonGetUrl);
  }
}

bool LinksGrabberPage::FetchPage(const std::string& url) {
  context_.DocumentLines().clear();
  fetching_ = true;
  fetch_canceled_ = false;
  ShowFetching(true);
  try {
    context_.HTTP().Get(url);
    context_.HTTP().Disconnect();
  } catch (...) {
    fetching_ = false;
    if (!fetch_canceled_) {
      ShowFetching(false);
      throw;
    }
    // Stopped by the user or by the closing window: nothing to tell.
    try {
      context_.HTTP().Disconnect();
    } catch (const std::exception&) {
    }
    ShowFetching(false);
    return false;
  }
  fetching_ = false;
  ShowFetching(false);
  // The whole body is one entry, line breaks and all.
  context_.DocumentLines().push_back(context_.HTTP().Body);
  check_source_ = {ShownLinksSource::Kind::kPage, url};
  return true;
}

void LinksGrabberPage::StopFetch() {
  if (!fetching_ || fetch_canceled_) return;
  fetch_canceled_ = true;
  context_.HTTP().Cancel();
}

void LinksGrabberPage::ButtonGetUrlClick() {
  if (fetching_) return StopFetch();
  const std::string url = FromQ(EditUrl->text());
  if (url.empty()) return;
  if (FetchPage(url)) SearchCurrentDocument();
}

void LinksGrabberPage::EditUrlKeyDown(int key) {
  if (key == 27) return StopFetch();
  if (key != 13 || fetching_) return;
  // Enter fetches only; the page is searched with the next search of the current document.
  FetchPage(FromQ(EditUrl->text()));
}

void LinksGrabberPage::EditUrlChange() {
  // Only what the user types counts, not what the program puts there.
  if (EditUrl->hasFocus()) context_.Settings().RememberedUrl = FromQ(EditUrl->text());
}

}  // namespace pagelathe
