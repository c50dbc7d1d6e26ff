// The Links Grabber page. The folder search runs on a `Search` worker that works on lists of
// its own: it hands each document's links to a shared record under a lock, and the finishing
// step, on the window's thread, moves them into the window's lists (or copies what is there
// when the search was stopped). Only the window's thread touches controls and window lists.
#include "tools/links/LinksGrabberPage.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOption>
#include <QVBoxLayout>
#include <algorithm>
#include <mutex>
#include <new>
#include <utility>

#include "app/AppSettings.h"
#include "app/TForm1.h"
#include "net/TNMHTTP.h"
#include "platform/Errors.h"
#include "platform/FileIO.h"
#include "platform/IntParse.h"
#include "tools/links/FolderSearch.h"
#include "tools/links/LinkExtract.h"
#include "ui/Controls.h"
#include "ui/FileDialogs.h"
#include "ui/FolderDialog.h"
#include "ui/Messages.h"
#include "ui/Text1251.h"
#include "ui/TextListModel.h"

namespace pagelathe {
namespace {

constexpr int kGetWidth = 40;  // the least width of Get, as it was laid out

// Up to these sizes a document is searched, and the view rebuilt, on the window's thread at
// once (a few milliseconds); larger ones go to a worker, so the window answers meanwhile.
constexpr size_t kInlineDocumentBytes = size_t{1} << 20;
constexpr size_t kInlineFoundLinks = 20000;

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

LinksGrabberPage::LinksGrabberPage(TForm1& form, QWidget* parent)
    : ToolPage(form, "TabSheetLinksGrabber", parent) {
  CreateControls();
  ConnectHandlers();
}

LinksGrabberPage::~LinksGrabberPage() {
  StopJobs();
}

void LinksGrabberPage::CreateControls() {
  LabelFolder = Named<QLabel>("LabelFolder", "Folder:", this);
  EditFolder = Named<QLineEdit>("EditFolder", this);
  ButtonFolderLinks = Named<QPushButton>("ButtonFolderLinks", "...", this);
  ButtonFolderLinks->setFixedWidth(28);
  FilterComboBoxFiles = new TFilterComboBox("FilterComboBoxFiles", this);
  FilterComboBoxFiles->SetFilterText(
      "All files (*.*)|*.*|HTML files (*.htm*)|*.htm|Text files (*.txt)|*.txt");
  FileListBoxFiles = new TFileListBox("FileListBoxFiles", this);
  FileListBoxFiles->SetMask(FilterComboBoxFiles->Mask());
  LabelUrl = Named<QLabel>("LabelUrl", "URL:", this);
  EditUrl = Named<QLineEdit>("EditUrl", this);
  ButtonGetUrl = Named<QPushButton>("ButtonGetUrl", "Get", this);
  ButtonGetUrl->setFixedWidth(kGetWidth);

  GroupBoxSearchType = new QGroupBox(" Search Type ", this);
  GroupBoxSearchType->setObjectName("GroupBoxSearchType");
  ComboBoxSearch = new QComboBox(GroupBoxSearchType);
  ComboBoxSearch->setObjectName("ComboBoxSearch");
  for (const char* protocol : kSearchProtocols)
    ComboBoxSearch->addItem(protocol);
  ComboBoxSearch->setCurrentIndex(3);
  auto* search_type = new QVBoxLayout(GroupBoxSearchType);
  search_type->setContentsMargins(6, 2, 6, 4);
  search_type->addWidget(ComboBoxSearch);

  RadioGroupLinks =
      new TRadioGroup("RadioGroupLinks", "Link Type: ", {"Full link", "Domen", "Name"}, this);
  RadioGroupLinks->SetItemIndex(1);
  CheckBoxSubDirs = Named<QCheckBox>("CheckBoxSubDirs", "Sub Dirs", this);
  CheckBoxSubDirs->setChecked(true);
  ButtonSearchLinks = Named<QPushButton>("ButtonSearchLinks", "Search", this);
  ButtonFromClipboard = Named<QPushButton>("ButtonFromClipboard", "From Clipboard", this);
  pbGrabber = new QProgressBar(this);
  pbGrabber->setObjectName("pbGrabber");
  pbGrabber->setRange(0, 100);
  pbGrabber->setValue(0);
  pbGrabber->setTextVisible(false);
  pbGrabber->setFixedHeight(16);

  PanelLinks = new TPanel("PanelLinks", "Links", this);
  links_model_ = new TextListModel(TextListModel::Display::Detected, this);
  ListBoxLinks = new QListView(this);
  ListBoxLinks->setObjectName("ListBoxLinks");
  ListBoxLinks->setModel(links_model_);
  ListBoxLinks->setSelectionMode(QAbstractItemView::ExtendedSelection);
  ListBoxLinks->setUniformItemSizes(true);  // rows are not measured one by one
  ListBoxLinks->setEditTriggers(QAbstractItemView::NoEditTriggers);
  RadioGroupView =
      new TRadioGroup("RadioGroupView", "View Option: ", {"Link", "HTML code", "BB code"}, this);
  RadioGroupView->SetItemIndex(0);
  CheckBoxSort = Named<QCheckBox>("CheckBoxSort", "Sort links", this);
  CheckBoxSort->setChecked(true);
  CheckBoxNoHttp = Named<QCheckBox>("CheckBoxNoHttp", "No http://", this);
  ButtonRemove = Named<QPushButton>("ButtonRemove", "Remove", this);
  ButtonClearLinks = Named<QPushButton>("ButtonClearLinks", "Clear", this);
  ButtonToClipboard = Named<QPushButton>("ButtonToClipboard", "To Clipboard", this);
  ButtonSave = Named<QPushButton>("ButtonSave", "Save", this);
  ButtonSave->setEnabled(false);

  SaveDialog1 = new TFileDialog("SaveDialog1", TFileDialog::Kind::Save, this);
  SaveDialog1->SetFilter("Text files (*.txt)|*.txt|HTML Files (*.htm; *.html)|*.htm;*.html");
  SaveDialog1->DefaultExt = "*.htm";
  SaveDialog1->FilterIndex = 1;

  SearchWorker = new Search(this);
  SearchWorker->setObjectName("Search");
  ViewWorker = new LinkViewJob(this);
  ViewWorker->setObjectName("LinkViewWorker");

  // Left: where documents come from and how they are searched.
  auto* left = new QVBoxLayout;
  left->setSpacing(4);
  auto* folder_row = new QHBoxLayout;
  folder_row->addWidget(LabelFolder);
  folder_row->addWidget(EditFolder, 1);
  folder_row->addWidget(ButtonFolderLinks);
  left->addLayout(folder_row);
  left->addWidget(FilterComboBoxFiles);
  left->addWidget(FileListBoxFiles, 1);
  auto* url_row = new QHBoxLayout;
  url_row->addWidget(LabelUrl);
  url_row->addWidget(EditUrl, 1);
  url_row->addWidget(ButtonGetUrl);
  left->addLayout(url_row);
  auto* options_row = new QHBoxLayout;
  auto* type_column = new QVBoxLayout;
  type_column->addWidget(GroupBoxSearchType);
  type_column->addWidget(CheckBoxSubDirs);
  type_column->addStretch(1);
  options_row->addLayout(type_column, 1);
  options_row->addWidget(RadioGroupLinks, 1);
  left->addLayout(options_row);
  auto* search_row = new QHBoxLayout;
  search_row->addWidget(ButtonSearchLinks);
  search_row->addWidget(ButtonFromClipboard);
  left->addLayout(search_row);
  left->addWidget(pbGrabber);

  // Right: the found links and what can be done with them.
  auto* right = new QVBoxLayout;
  right->setSpacing(4);
  right->addWidget(PanelLinks);
  right->addWidget(ListBoxLinks, 1);
  auto* view_row = new QHBoxLayout;
  view_row->addWidget(RadioGroupView, 1);
  auto* checks = new QVBoxLayout;
  checks->addStretch(1);
  checks->addWidget(CheckBoxSort);
  checks->addWidget(CheckBoxNoHttp);
  checks->addStretch(1);
  view_row->addLayout(checks);
  right->addLayout(view_row);
  auto* buttons = new QGridLayout;
  buttons->setSpacing(4);
  buttons->addWidget(ButtonRemove, 0, 0);
  buttons->addWidget(ButtonClearLinks, 0, 1);
  buttons->addWidget(ButtonToClipboard, 1, 0);
  buttons->addWidget(ButtonSave, 1, 1);
  right->addLayout(buttons);

  auto* page = new QHBoxLayout(this);
  page->setContentsMargins(6, 6, 6, 6);
  page->setSpacing(8);
  page->addLayout(left, 1);
  page->addLayout(right, 1);
}

void LinksGrabberPage::ConnectHandlers() {
  connect(ButtonSearchLinks, &QPushButton::clicked, this,
          &LinksGrabberPage::ButtonSearchLinksClick);
  connect(EditFolder, &QLineEdit::textChanged, this, &LinksGrabberPage::EditFolderChange);
  connect(FilterComboBoxFiles, &TFilterComboBox::MaskChanged, this,
          [this](const std::string& masks) { FileListBoxFiles->SetMask(masks); });
  connect(FileListBoxFiles, &TFileListBox::FileClicked, this,
          &LinksGrabberPage::FileListBoxFilesClick);
  connect(ButtonFromClipboard, &QPushButton::clicked, this,
          &LinksGrabberPage::ButtonFromClipboardClick);
  connect(ButtonGetUrl, &QPushButton::clicked, this, &LinksGrabberPage::ButtonGetUrlClick);
  connect(EditUrl, &QLineEdit::returnPressed, this, [this] { EditUrlKeyDown(13); });
  connect(EditUrl, &QLineEdit::textChanged, this, &LinksGrabberPage::EditUrlChange);
  EditUrl->installEventFilter(this);
  connect(RadioGroupLinks, &TRadioGroup::Click, this, &LinksGrabberPage::RadioGroupLinksClick);
  connect(ButtonFolderLinks, &QPushButton::clicked, this,
          &LinksGrabberPage::ButtonFolderLinksClick);
  connect(CheckBoxSort, &QCheckBox::clicked, this, &LinksGrabberPage::CheckBoxSortClick);
  connect(CheckBoxNoHttp, &QCheckBox::clicked, this, &LinksGrabberPage::CheckBoxNoHttpClick);
  connect(RadioGroupView, &TRadioGroup::Click, this, &LinksGrabberPage::RadioGroupViewClick);
  connect(ButtonRemove, &QPushButton::clicked, this, &LinksGrabberPage::ButtonRemoveClick);
  connect(ButtonClearLinks, &QPushButton::clicked, this, &LinksGrabberPage::ButtonClearLinksClick);
  connect(ButtonToClipboard, &QPushButton::clicked, this,
          &LinksGrabberPage::ButtonToClipboardClick);
  connect(ButtonSave, &QPushButton::clicked, this, &LinksGrabberPage::ButtonSaveClick);
  connect(SaveDialog1, &TFileDialog::TypeChange, this, &LinksGrabberPage::SaveDialog1TypeChange);
}

void LinksGrabberPage::ApplySettings(const AppSettings& settings) {
  const int search_type = settings.SearchType;
  ComboBoxSearch->setCurrentIndex(
      search_type >= 0 && search_type < ComboBoxSearch->count() ? search_type : -1);
  RadioGroupLinks->SetItemIndex(settings.LinkType);
  RadioGroupView->SetItemIndex(settings.ViewOption);
  CheckBoxSubDirs->setChecked(settings.SubDirs != 0);
  CheckBoxSort->setChecked(settings.SortLinks != 0);
  CheckBoxNoHttp->setChecked(settings.NoHttp != 0);
}

void LinksGrabberPage::FirstShow() {
  EditFolder->setText(ToQ(form_.LinksFolder));
  FileListBoxFiles->SetDirectory(form_.LinksFolder);
  EditUrl->setText(ToQ(form_.RememberedUrl));
}

void LinksGrabberPage::StoreSettings(AppSettings& settings) const {
  settings.Folder = FromQ(EditFolder->text());
  settings.SearchType = ComboBoxSearch->currentIndex();
  settings.LinkType = RadioGroupLinks->ItemIndex();
  settings.ViewOption = RadioGroupView->ItemIndex();
  settings.SubDirs = CheckBoxSubDirs->isChecked() ? 1 : 0;
  settings.SortLinks = CheckBoxSort->isChecked() ? 1 : 0;
  settings.NoHttp = CheckBoxNoHttp->isChecked() ? 1 : 0;
}

void LinksGrabberPage::ApplicationActivated() {
  FileListBoxFiles->Update();
}

void LinksGrabberPage::StopJobs() {
  closing_ = true;
  if (SearchWorker) SearchWorker->StopAndWait();
  StopFetch();
  if (ViewWorker) {
    view_stopping_ = true;
    ViewWorker->StopAndWait();
  }
}

void LinksGrabberPage::LanguageApplied() {
  QStyleOptionButton option;
  option.initFrom(ButtonGetUrl);
  option.rect.setWidth(kGetWidth);
  const int padding =
      kGetWidth - ButtonGetUrl->style()
                      ->subElementRect(QStyle::SE_PushButtonContents, &option, ButtonGetUrl)
                      .width();
  const QFontMetrics metrics(ButtonGetUrl->font());
  const QString caption = fetching_ ? get_caption_ : ButtonGetUrl->text();
  const int text = std::max(metrics.horizontalAdvance(caption),
                            metrics.horizontalAdvance(ToQ(form_.StringStop)));
  ButtonGetUrl->setFixedWidth(std::max(kGetWidth, text + padding + 4));
}

bool LinksGrabberPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == EditUrl && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
    EditUrlKeyDown(27);
  return ToolPage::eventFilter(watched, event);
}

LinkViewOptions LinksGrabberPage::CurrentViewOptions() const {
  LinkViewOptions options;
  options.sort = CheckBoxSort->isChecked();
  options.no_http = CheckBoxNoHttp->isChecked();
  options.link_type = RadioGroupLinks->ItemIndex();
  options.view = RadioGroupView->ItemIndex();
  options.protocol = FromQ(ComboBoxSearch->currentText());
  return options;
}

const TextList& LinksGrabberPage::ShownLines() const {
  return links_model_->Lines();
}

void LinksGrabberPage::BuildLinkView(std::function<void()> then) {
  if (form_.FoundLinks.size() <= kInlineFoundLinks) {
    links_model_->SetLines(pagelathe::BuildLinkView(form_.FoundLinks, CurrentViewOptions()));
    if (then) then();
    return;
  }
  // The worker builds from a copy; the options and the list wait until it is done.
  auto found = std::make_shared<const LinkStore>(form_.FoundLinks);
  auto view = std::make_shared<TextList>();
  const LinkViewOptions options = CurrentViewOptions();
  BeginViewJob();
  ViewWorker->Start([found, view, options](
                        LongJob::Context&) { *view = pagelathe::BuildLinkView(*found, options); },
                    [this, view, then = std::move(then)] {
                      if (view_stopping_) return;
                      links_model_->SetLines(std::move(*view));
                      EndViewJob();
                      if (then) then();
                    });
}

void LinksGrabberPage::BeginViewJob() {
  view_busy_ = true;
  setCursor(Qt::BusyCursor);
  UpdateControlStates();
}

void LinksGrabberPage::EndViewJob() {
  view_busy_ = false;
  unsetCursor();
  UpdateControlStates();
}

void LinksGrabberPage::UpdateControlStates() {
  const bool sources = !searching_ && !fetching_ && !view_busy_;
  FileListBoxFiles->setEnabled(sources);
  ButtonFromClipboard->setEnabled(sources);
  RadioGroupLinks->setEnabled(sources);
  // Get and Search double as the stop buttons of their own jobs.
  EditUrl->setEnabled(!searching_ && !view_busy_);
  ButtonGetUrl->setEnabled(!searching_ && !view_busy_);
  ButtonSearchLinks->setEnabled(!fetching_ && !view_busy_);
  for (QWidget* control :
       std::initializer_list<QWidget*>{ListBoxLinks, RadioGroupView, CheckBoxSort, CheckBoxNoHttp,
                                       ButtonRemove, ButtonClearLinks, ButtonToClipboard})
    control->setEnabled(!view_busy_);
  ButtonSave->setEnabled(save_allowed_ && !view_busy_);
}

void LinksGrabberPage::ShowLinkCount() {
  PanelLinks->setText(ToQ(form_.StringLinks + ":" + IntToStr(links_model_->rowCount())));
}

void LinksGrabberPage::ShowFetching(bool fetching) {
  UpdateControlStates();
  EditUrl->setReadOnly(fetching);  // the address shown is the one being fetched
  if (fetching) {
    status_before_fetch_ = form_.statusBar()->currentMessage();
    form_.ShowStatusText(ToQ(form_.StringFetchingPage) + EditUrl->text());
    setCursor(Qt::BusyCursor);
    ButtonGetUrl->setText(ToQ(form_.StringStop));
  } else {
    form_.ShowStatusText(status_before_fetch_);
    unsetCursor();
    ButtonGetUrl->setText(get_caption_);
  }
}

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
  form_.FoundLinks.clear();
  form_.TokenList.clear();
  links_model_->Clear();
  ButtonSearchLinks->setText(ToQ(form_.StringStop));
  Counters = {};
  SearchProtocol = FromQ(ComboBoxSearch->currentText());
  form_.FolderList.clear();
  RootFolder = FromQ(EditFolder->text());
  form_.FolderList.push_back(RootFolder);
  sub_dirs_ = CheckBoxSubDirs->isChecked();
  UpdateControlStates();

  auto shared = std::make_shared<Shared>();
  shared->view_options = CurrentViewOptions();
  shared_ = shared;
  LinkExtractor extractor(SearchProtocol, RadioGroupLinks->ItemIndex(), form_.ExclusionLines);
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
        } shown;
        auto post = [this, &context, &shown] {
          context.Progress([this, shown] {
            const QString folder = ToQ(shown.folder);
            if (EditFolder->text() != folder) EditFolder->setText(folder);
            pbGrabber->setValue(shown.percent);
            if (shown.has_file)
              form_.ShowStatusText(ToQ(form_.StringProccessedFiles) + DocumentToQ(shown.file));
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
          post();
        };
        callbacks.document_skipped = [&shared](const std::string&, const std::string& message) {
          const std::lock_guard lock(shared->mutex);
          if (!shared->taken) shared->skipped.push_back(message);
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
      form_.FoundLinks = std::move(shared->found);
      form_.FolderList = std::move(shared->result.folders);
    } else {
      form_.FoundLinks = shared->found;  // the worker may still be reading it
    }
    if (shared->have_document) {
      try {
        form_.DocumentLines = SplitLines(shared->last_document.View());
      } catch (const std::bad_alloc&) {  // the window must come back all the same
        form_.DocumentLines.clear();
      }
    }
    if (complete && shared->view_options == CurrentViewOptions()) {
      links_model_->SetLines(std::move(shared->view));
      view_ready = true;
    }
  }
  save_allowed_ = true;
  pbGrabber->setValue(0);
  EditFolder->setText(ToQ(RootFolder));
  FileListBoxFiles->Update();
  ButtonSearchLinks->setText(ToQ(form_.StringSearch));
  if (CheckBoxSubDirs->isChecked())
    form_.SetStatusText(form_.StringProccessedFiles + IntToStr(Counters.FileCount) + "  " +
                        form_.StringFolders + IntToStr(Counters.FolderCount));
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
  if (searching_ || fetching_ || view_busy_) return;
  form_.FoundLinks.clear();
  form_.TokenList.clear();
  links_model_->Clear();
  SearchProtocol = FromQ(ComboBoxSearch->currentText());
  const auto done = [this] {
    ShowLinkCount();
    save_allowed_ = true;
    UpdateControlStates();
  };
  if (DocumentBytes(form_.DocumentLines) <= kInlineDocumentBytes) {
    form_.TokenList = CutIntoPieces(form_.DocumentLines);
    ExtractLinks(form_.DocumentLines, SearchProtocol, RadioGroupLinks->ItemIndex(),
                 form_.ExclusionLines, form_.FoundLinks);
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
  outcome->document = std::move(form_.DocumentLines);
  form_.DocumentLines.clear();
  const LinkViewOptions options = CurrentViewOptions();
  BeginViewJob();
  ViewWorker->Start(
      [outcome, options,
       extractor = LinkExtractor(SearchProtocol, RadioGroupLinks->ItemIndex(),
                                 form_.ExclusionLines)](LongJob::Context&) {
        outcome->pieces = CutIntoPieces(outcome->document);
        extractor.ExtractLines(outcome->document, outcome->found);
        outcome->view = pagelathe::BuildLinkView(outcome->found, options);
      },
      [this, outcome, done] {
        if (view_stopping_) return;  // the window closes; the worker may still hold it all
        form_.DocumentLines = std::move(outcome->document);
        form_.TokenList = std::move(outcome->pieces);
        form_.FoundLinks = std::move(outcome->found);
        links_model_->SetLines(std::move(outcome->view));
        EndViewJob();
        done();
      });
}

void LinksGrabberPage::SearchDocument(TextList document_lines) {
  if (searching_ || fetching_ || view_busy_) return;
  form_.DocumentLines = std::move(document_lines);
  SearchCurrentDocument();
}

void LinksGrabberPage::FileListBoxFilesClick(const std::string& name) {
  if (searching_ || fetching_ || view_busy_) return;
  // Loaded first, so a file that cannot be read leaves the previous results as they were.
  SearchDocument(LoadTextList(JoinPath(FromQ(EditFolder->text()), name)));
}

void LinksGrabberPage::ButtonFromClipboardClick() {
  if (searching_ || fetching_ || view_busy_) return;
  SearchDocument(SplitLines(FromQ(QGuiApplication::clipboard()->text())));
}

bool LinksGrabberPage::FetchPage(const std::string& url) {
  form_.DocumentLines.clear();
  fetching_ = true;
  fetch_canceled_ = false;
  get_caption_ = ButtonGetUrl->text();
  ShowFetching(true);
  try {
    form_.HTTP->Get(url);
    form_.HTTP->Disconnect();
  } catch (...) {
    fetching_ = false;
    if (!fetch_canceled_) {
      ShowFetching(false);
      throw;
    }
    // Stopped by the user or by the closing window: nothing to tell.
    try {
      form_.HTTP->Disconnect();
    } catch (const std::exception&) {
    }
    ShowFetching(false);
    return false;
  }
  fetching_ = false;
  ShowFetching(false);
  // The whole body is one entry, line breaks and all.
  form_.DocumentLines.push_back(form_.HTTP->Body);
  return true;
}

void LinksGrabberPage::StopFetch() {
  if (!fetching_ || fetch_canceled_) return;
  fetch_canceled_ = true;
  form_.HTTP->Cancel();
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
  if (EditUrl->hasFocus()) form_.RememberedUrl = FromQ(EditUrl->text());
}

void LinksGrabberPage::RadioGroupLinksClick() {
  SearchCurrentDocument();
}

void LinksGrabberPage::EditFolderChange() {
  const std::string folder = FromQ(EditFolder->text());
  FileListBoxFiles->SetDirectory(DirectoryExists(folder) ? folder : std::string());
}

void LinksGrabberPage::ButtonFolderLinksClick() {
  TFolderDialog& dialog = *form_.FolderDialog1;
  dialog.Directory = FromQ(EditFolder->text());
  if (!dialog.Execute(this) || dialog.Directory.empty()) return;
  std::string folder = dialog.Directory;
  if (folder.back() != '/') folder += '/';
  form_.LinksFolder = folder;
  EditFolder->setText(ToQ(folder));
  FileListBoxFiles->SetDirectory(folder);
}

// The list and its export.

void LinksGrabberPage::CheckBoxSortClick() {
  BuildLinkView();
}
void LinksGrabberPage::CheckBoxNoHttpClick() {
  BuildLinkView();
}
void LinksGrabberPage::RadioGroupViewClick() {
  BuildLinkView();
}

void LinksGrabberPage::ButtonRemoveClick() {
  form_.ScratchList.clear();
  // The selection as row ranges, marked once: asking it for its rows one by one costs a
  // second for a few hundred thousand of them.
  const TextList& lines = links_model_->Lines();
  std::vector<bool> selected(lines.size(), false);
  for (const QItemSelectionRange& range : ListBoxLinks->selectionModel()->selection())
    for (int row = range.top(); row <= range.bottom(); ++row)
      selected[static_cast<size_t>(row)] = true;
  for (size_t row = 0; row < lines.size(); ++row)
    if (selected[row]) form_.ScratchList.push_back(lines[row]);
  // Every line equal to a selected one goes (RemoveLines' rule); the others stay in place,
  // moved rather than copied.
  MarkEqualLines(lines, form_.ScratchList, selected);
  links_model_->RemoveRows(selected);
}

void LinksGrabberPage::ButtonClearLinksClick() {
  links_model_->Clear();
}

void LinksGrabberPage::ButtonToClipboardClick() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  // Each line as the list shows it: links found in UTF-8 documents reach the clipboard as
  // the characters they are.
  const TextList& lines = links_model_->Lines();
  QString text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) text += QStringLiteral("\r\n");
    text += DocumentToQ(lines[i]);
  }
  clipboard->setText(text);
}

void LinksGrabberPage::ButtonSaveClick() {
  SaveDialog1->InitialDir = EditFolder->text();
  SaveDialog1->FileName = "links.txt";
  if (!SaveDialog1->Execute(this)) return;
  form_.OutputBuffer.clear();
  if (SaveDialog1->FilterIndex == 2)
    form_.OutputBuffer = LinkListHtmlPage(links_model_->Lines(), form_.StringLinks);
  else
    form_.OutputBuffer = links_model_->Lines();
  SaveTextList(form_.OutputBuffer, FromQ(SaveDialog1->FileName));
  form_.OutputBuffer.clear();
}

void LinksGrabberPage::SaveDialog1TypeChange() {
  const std::string extension = SaveDialog1->FilterIndex == 1 ? ".txt" : ".htm";
  SaveDialog1->SetLiveFileName(
      ToQ(ReplaceExtension(FromQ(SaveDialog1->LiveFileName()), extension)));
}

}  // namespace pagelathe
