// The Links Grabber page: its controls, the settings it keeps, the displayed list with its
// views and export. The searches and the page fetch are in LinksGrabberSearch.cpp.
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
#include <QStyle>
#include <QStyleOption>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "net/TNMHTTP.h"
#include "platform/FileIO.h"
#include "platform/IntParse.h"
#include "settings/AppSettings.h"
#include "tools/check/LinkCheckWindow.h"
#include "tools/converter/HtmlPage.h"
#include "tools/links/LinkExtract.h"
#include "ui/Controls.h"
#include "ui/FileDialogs.h"
#include "ui/FolderDialog.h"
#include "ui/Messages.h"
#include "ui/PageContext.h"
#include "ui/QtText.h"
#include "ui/TextListModel.h"

namespace pagelathe {
namespace {

constexpr int kGetWidth = 40;  // the least width of Get, as it was laid out

// Up to this many found links the view is rebuilt on the window's thread at once (a few
// milliseconds); more go to a worker, so the window answers meanwhile.
constexpr size_t kInlineFoundLinks = 20000;

}  // namespace

LinksGrabberPage::LinksGrabberPage(PageContext& context, QWidget* parent)
    : ToolPage(context, "TabSheetLinksGrabber", parent) {
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
  links_model_ = new TextListModel(TextListModel::Display::DocumentBytes, this);
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
  ButtonCheckLinks = Named<QPushButton>("ButtonCheckLinks", "Check", this);
  FormLinkCheck = new LinkCheckWindow(context_, this);

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
  buttons->addWidget(ButtonCheckLinks, 2, 0, 1, 2);
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
  connect(ButtonCheckLinks, &QPushButton::clicked, this, &LinksGrabberPage::ButtonCheckLinksClick);
  connect(FormLinkCheck, &LinkCheckWindow::PlaceChosen, this, &LinksGrabberPage::ShowPlace);
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
  context_.HTTP().Tls.ca_file = settings.CaFile;
}

void LinksGrabberPage::FirstShow() {
  SetPathText(EditFolder, context_.Settings().LinksFolder);
  FileListBoxFiles->SetDirectory(context_.Settings().LinksFolder);
  EditUrl->setText(ToQ(context_.Settings().RememberedUrl));
}

void LinksGrabberPage::StoreSettings(AppSettings& settings) const {
  settings.LinksFolder = PathText(EditFolder);
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
  if (FormLinkCheck) FormLinkCheck->StopAndWait();
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
  // A job that runs keeps its Stop in the new language.
  if (ShowsStopCaption(ButtonSearchLinks))
    ButtonSearchLinks->setText(ToQ(context_.Texts().StringStop));
  if (ShowsStopCaption(ButtonGetUrl)) ButtonGetUrl->setText(ToQ(context_.Texts().StringStop));
  const QString caption = ButtonCaption(ButtonGetUrl);
  const int text = std::max(metrics.horizontalAdvance(caption),
                            metrics.horizontalAdvance(ToQ(context_.Texts().StringStop)));
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
  options.link_type = LinkShapeAt(RadioGroupLinks->ItemIndex());
  options.view = RadioGroupView->ItemIndex();
  options.protocol = FromQ(ComboBoxSearch->currentText());
  return options;
}

const TextList& LinksGrabberPage::ShownLines() const {
  return links_model_->Lines();
}

void LinksGrabberPage::BuildLinkView(std::function<void()> then) {
  if (context_.FoundLinks().size() <= kInlineFoundLinks) {
    links_model_->SetLines(pagelathe::BuildLinkView(context_.FoundLinks(), CurrentViewOptions()));
    if (then) then();
    return;
  }
  // The worker builds from a copy; the options and the list wait until it is done.
  auto found = std::make_shared<const LinkStore>(context_.FoundLinks());
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
  const bool sources = !Busy();
  FileListBoxFiles->setEnabled(sources);
  ButtonFromClipboard->setEnabled(sources);
  RadioGroupLinks->setEnabled(sources);
  // Get and Search double as the stop buttons of their own jobs.
  EditUrl->setEnabled(!searching_ && !view_busy_);
  ButtonGetUrl->setEnabled(!searching_ && !view_busy_);
  ButtonSearchLinks->setEnabled(!fetching_ && !view_busy_);
  for (QWidget* control : std::initializer_list<QWidget*>{ListBoxLinks, ButtonRemove,
                                                          ButtonClearLinks, ButtonToClipboard})
    control->setEnabled(!view_busy_);
  // A fetch's page replaces the list with the options as they are when it arrives; a view
  // rebuilt meanwhile would take the stop button from the fetch and hold its page back.
  for (QWidget* control :
       std::initializer_list<QWidget*>{RadioGroupView, CheckBoxSort, CheckBoxNoHttp})
    control->setEnabled(!view_busy_ && !fetching_);
  ButtonSave->setEnabled(save_allowed_ && !view_busy_);
  ButtonCheckLinks->setEnabled(sources);
}

void LinksGrabberPage::ShowLinkCount() {
  PanelLinks->setText(ToQ(context_.Texts().StringLinks + ":" + IntToStr(links_model_->rowCount())));
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
  context_.ScratchList().clear();
  const TextList& lines = links_model_->Lines();
  const std::vector<bool> selected = SelectedRowMarks(*ListBoxLinks);
  for (size_t row = 0; row < lines.size(); ++row)
    if (selected[row]) context_.ScratchList().push_back(lines[row]);
  // Every line equal to a selected one goes (RemoveLines' rule). The list only ever holds a
  // view of BuildLinkView, whose lines are distinct, so those are the selected lines
  // themselves; looking for others would cost a tenth of a second on a long list. The
  // others stay in place, moved rather than copied.
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
  clipboard->setText(ToQ(JoinForClipboard(links_model_->Lines())));
}

void LinksGrabberPage::ButtonSaveClick() {
  SaveDialog1->InitialDir = EditFolder->text();
  SaveDialog1->FileName = "links.txt";
  if (!SaveDialog1->Execute(this)) return;
  context_.OutputBuffer().clear();
  const std::string path = PathFromDialog(SaveDialog1->FileName);
  if (SaveDialog1->FilterIndex == 2) {
    // The page says its charset; the text file keeps the links' own bytes.
    context_.OutputBuffer() = LinkListHtmlPage(links_model_->Lines(), context_.Texts().StringLinks);
    WriteFileAtomic(path, HtmlPageBytes(context_.OutputBuffer()));
  } else {
    context_.OutputBuffer() = links_model_->Lines();
    SaveTextList(context_.OutputBuffer(), path);
  }
  context_.OutputBuffer().clear();
}

void LinksGrabberPage::ButtonCheckLinksClick() {
  if (Busy()) return;
  ShownLinksRequest request{
      links_model_->Lines(), CurrentViewOptions(), check_source_, {}, context_.ExclusionLines()};
  if (check_source_.kind == ShownLinksSource::Kind::kText ||
      check_source_.kind == ShownLinksSource::Kind::kPage)
    for (const std::string& line : context_.DocumentLines())
      request.text.append(line).append("\n");
  FormLinkCheck->Check(std::move(request));
}

void LinksGrabberPage::ShowPlace(const std::string& document, int line) {
  if (Busy()) return;
  for (QWidget* holder = parentWidget(); holder; holder = holder->parentWidget())
    if (auto* tabs = qobject_cast<QTabWidget*>(holder)) tabs->setCurrentWidget(this);
  window()->raise();
  window()->activateWindow();
  if (FileExists(document)) {
    const size_t slash = document.rfind('/');
    const std::string name = document.substr(slash + 1);
    EditFolder->setText(ToQ(slash == std::string::npos ? "./" : document.substr(0, slash + 1)));
    const auto row = [&] {
      const auto& names = FileListBoxFiles->Names();
      return static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
    };
    if (row() == FileListBoxFiles->count()) FilterComboBoxFiles->setCurrentIndex(0);  // all files
    FileListBoxFiles->setCurrentRow(row() < FileListBoxFiles->count() ? row() : -1);
  } else if (document.starts_with("http://") || document.starts_with("https://")) {
    EditUrl->setText(DocumentToQ(document));
  }
  context_.ShowStatusText(DocumentToQ(document) + ':' + QString::number(line));
}

void LinksGrabberPage::SaveDialog1TypeChange() {
  const std::string extension = SaveDialog1->FilterIndex == 1 ? ".txt" : ".htm";
  SaveDialog1->SetLiveFileName(
      ToQ(ReplaceExtension(FromQ(SaveDialog1->LiveFileName()), extension)));
}

}  // namespace pagelathe
