// The Search Keywords tab.
#include "tools/keywords/KeywordSearchTab.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTextDocument>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/FileRead.h"
#include "platform/IntParse.h"
#include "platform/Paths.h"
#include "platform/Utf8.h"
#include "tools/keywords/KeywordListModel.h"
#include "tools/keywords/MemoLines.h"
#include "tools/keywords/MemoSlices.h"
#include "ui/Controls.h"
#include "ui/FileDialogs.h"
#include "ui/PageContext.h"
#include "ui/QtText.h"
#include "ui/TextListModel.h"

namespace pagelathe {
namespace {

constexpr int kWordColumnWidth = 235;
constexpr int kCountColumnWidth = 40;

// The width that shows a count of nine digits whole: the widest digit nine times, and the
// margins the style keeps on both sides of an item's text.
int CountColumnWidth(const QTreeView& view) {
  const QFontMetrics metrics(view.font());
  int digit = 0;
  for (char c = '0'; c <= '9'; ++c)
    digit = std::max(digit, metrics.horizontalAdvance(QChar(c)));
  const int margin = view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
  return 9 * digit + 2 * margin + 4;
}

}  // namespace

// What a job's worker hands to the window's thread. Written by the worker before its body
// returns, read by the finishing step after it, so no lock is needed.
struct KeywordSearchTab::Outcome {
  bool ready = false;
  QStringList memo_lines;                        // Open: what the memo shows
  std::shared_ptr<const TextList> cached_lines;  // Open: what reading it back gives
  TextList items;                                // Insert From File
  std::vector<KeywordEntry> rows;                // Search
  KeywordSortState sort_state;
};

KeywordSearchTab::KeywordSearchTab(PageContext& context, QWidget* parent)
    : QWidget(parent), context_(context), memo_slices_(new MemoSlices(this)) {
  setObjectName("TabSheetKeywordsSearch");
  BuildControls();
  LayOut();
}

KeywordSearchTab::~KeywordSearchTab() {
  StopJobs();
}

QString KeywordSearchTab::OpenedFileName() const {
  return OpenDialog1->FileName;
}

void KeywordSearchTab::BuildControls() {
  PanelKWText = new TPanel("PanelKWText", "Text", this);
  PanelKWWords = new TPanel("PanelKWWords", "Words", this);
  PanelKWKeywords = new TPanel("PanelKWKeywords", "Keywords", this);

  MemoKW = new QPlainTextEdit(this);
  MemoKW->setObjectName("MemoKW");
  MemoKW->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  LabelSearchLength = Named<QLabel>("LabelSearchLength", "search words with length >= ", this);
  LabelSearchFreq = Named<QLabel>("LabelSearchFreq", "search words with frequency >=", this);
  EditKWLength = Named<QLineEdit>("EditKWLength", "4", this);
  EditKWFreq = Named<QLineEdit>("EditKWFreq", "4", this);
  cbCase = new QCheckBox("case sensitive", this);
  cbCase->setObjectName("cbCase");

  ListViewKWRows = new KeywordListModel(this);
  ListViewKWRows->setObjectName("ListViewKWRows");
  ListViewKW = new QTreeView(this);
  ListViewKW->setObjectName("ListViewKW");
  ListViewKW->setModel(ListViewKWRows);
  ListViewKW->setRootIsDecorated(false);
  ListViewKW->setItemsExpandable(false);
  ListViewKW->setUniformRowHeights(true);
  ListViewKW->setAllColumnsShowFocus(true);
  ListViewKW->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListViewKW->setSelectionMode(QAbstractItemView::ExtendedSelection);
  ListViewKW->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListViewKW->header()->setStretchLastSection(false);
  ListViewKW->header()->setSectionsClickable(true);
  ListViewKW->header()->setSectionsMovable(false);

  ListBoxKWItems = new TextListModel(TextListModel::Display::Text, this);
  ListBoxKWItems->setObjectName("ListBoxKWItems");
  ListBoxKW = new QListView(this);
  ListBoxKW->setObjectName("ListBoxKW");
  ListBoxKW->setModel(ListBoxKWItems);
  ListBoxKW->setSelectionMode(QAbstractItemView::ExtendedSelection);
  ListBoxKW->setUniformItemSizes(true);
  ListBoxKW->setEditTriggers(QAbstractItemView::NoEditTriggers);
  EditKW = Named<QLineEdit>("EditKW", "", this);

  ButtonOpenFile = Named<QPushButton>("ButtonOpenFile", "Open", this);
  ButtonKWSearch = Named<QPushButton>("ButtonKWSearch", "Search", this);
  ButtonKWClearText = Named<QPushButton>("ButtonKWClearText", "Clear", this);
  ButtonKWCheck = Named<QPushButton>("ButtonKWCheck", "Check All", this);
  ButtonKWUncheck = Named<QPushButton>("ButtonKWUncheck", "Uncheck All", this);
  ButtonKWAdd = Named<QPushButton>("ButtonKWAdd", "Add", this);
  ButtonKWRemove = Named<QPushButton>("ButtonKWRemove", "Remove", this);
  ButtonKWInsert = Named<QPushButton>("ButtonKWInsert", "Insert From File", this);
  ButtonKWClear = Named<QPushButton>("ButtonKWClear", "Clear", this);

  pbKW = new QProgressBar(this);
  pbKW->setObjectName("pbKW");
  pbKW->setRange(0, 100);
  pbKW->setValue(0);
  pbKW->setTextVisible(false);
  pbKW->setMaximumHeight(12);

  OpenDialog1 = new TFileDialog("OpenDialog1", TFileDialog::Kind::Open, this);
  OpenDialog1->SetFilter(
      "All Files (*.*)|*.*|Text Files (*.txt)|*.txt|HTML Files (*.htm; *.html)|*.htm;*.html");
  OpenDialog1->DefaultExt = "*.*";
  KeywordWorker = new KeywordJob(this);
  KeywordWorker->setObjectName("KeywordWorker");
  connect(memo_slices_, &MemoSlices::Progress, pbKW, [this](int percent) {
    pbKW->setRange(0, 100);
    pbKW->setValue(percent);
  });
  // A change of the text, other than a fill of ours, makes the lines of the last Open stale.
  connect(MemoKW->document(), &QTextDocument::contentsChanged, this, [this] {
    if (!memo_slices_->Running()) memo_lines_.reset();
  });

  connect(ButtonOpenFile, &QPushButton::clicked, this, &KeywordSearchTab::ButtonOpenFileClick);
  connect(ButtonKWSearch, &QPushButton::clicked, this, &KeywordSearchTab::ButtonKWSearchClick);
  connect(ButtonKWClearText, &QPushButton::clicked, this,
          &KeywordSearchTab::ButtonKWClearTextClick);
  connect(cbCase, &QCheckBox::clicked, this, &KeywordSearchTab::cbCaseClick);
  connect(ListViewKW->header(), &QHeaderView::sectionClicked, this,
          &KeywordSearchTab::ListViewKWColumnClick);
  connect(ButtonKWCheck, &QPushButton::clicked, this, &KeywordSearchTab::ButtonKWCheckClick);
  connect(ButtonKWUncheck, &QPushButton::clicked, this, &KeywordSearchTab::ButtonKWUncheckClick);
  connect(ButtonKWAdd, &QPushButton::clicked, this, &KeywordSearchTab::ButtonKWAddClick);
  connect(ButtonKWRemove, &QPushButton::clicked, this, &KeywordSearchTab::ButtonKWRemoveClick);
  connect(ButtonKWInsert, &QPushButton::clicked, this, &KeywordSearchTab::ButtonKWInsertClick);
  connect(ButtonKWClear, &QPushButton::clicked, this, &KeywordSearchTab::ButtonKWClearClick);
  EditKW->installEventFilter(this);
  ListBoxKW->installEventFilter(this);
}

void KeywordSearchTab::LayOut() {
  auto* text = new QVBoxLayout;
  text->setSpacing(4);
  text->addWidget(PanelKWText);
  text->addWidget(MemoKW, 1);
  auto* text_buttons = new QHBoxLayout;
  // The text column gets what the word list leaves; its buttons share it.
  for (QPushButton* button : {ButtonOpenFile, ButtonKWSearch, ButtonKWClearText}) {
    button->setMinimumWidth(50);
    button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  }
  text_buttons->addWidget(ButtonOpenFile);
  text_buttons->addWidget(ButtonKWSearch);
  text_buttons->addWidget(ButtonKWClearText);
  text->addLayout(text_buttons);
  auto* options = new QGridLayout;
  options->setHorizontalSpacing(4);
  options->setVerticalSpacing(4);
  options->addWidget(LabelSearchLength, 0, 0);
  options->addWidget(EditKWLength, 0, 1);
  options->addWidget(LabelSearchFreq, 1, 0);
  options->addWidget(EditKWFreq, 1, 1);
  options->addWidget(cbCase, 2, 0, 1, 2);
  options->setColumnStretch(0, 1);
  EditKWLength->setFixedWidth(36);
  EditKWFreq->setFixedWidth(36);
  text->addLayout(options);

  auto* words = new QVBoxLayout;
  words->setSpacing(4);
  words->addWidget(PanelKWWords);
  words->addWidget(ListViewKW, 3);
  auto* word_buttons = new QHBoxLayout;
  word_buttons->addWidget(ButtonKWCheck);
  word_buttons->addWidget(ButtonKWUncheck);
  word_buttons->addWidget(ButtonKWAdd);
  words->addLayout(word_buttons);
  words->addWidget(PanelKWKeywords);
  auto* keywords = new QHBoxLayout;
  auto* keyword_list = new QVBoxLayout;
  keyword_list->setSpacing(4);
  keyword_list->addWidget(ListBoxKW, 1);
  keyword_list->addWidget(EditKW);
  keywords->addLayout(keyword_list, 1);
  auto* keyword_buttons = new QVBoxLayout;
  keyword_buttons->setSpacing(4);
  keyword_buttons->addWidget(ButtonKWRemove);
  keyword_buttons->addWidget(ButtonKWInsert);
  keyword_buttons->addWidget(ButtonKWClear);
  keyword_buttons->addStretch(1);
  keywords->addLayout(keyword_buttons);
  words->addLayout(keywords, 2);

  // The columns were 235 and 40 pixels in a font whose digits are narrower than ours: the
  // count column gets what a count of nine digits needs, taken from the word column, so the
  // word list keeps its width and both columns stay inside it.
  const int count_width = std::max(kCountColumnWidth, CountColumnWidth(*ListViewKW));
  ListViewKW->setColumnWidth(1, count_width);
  ListViewKW->setColumnWidth(0, kWordColumnWidth + kCountColumnWidth - count_width);
  // The word list is as wide as its two columns, so the text takes what is left.
  const int scroll_bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  ListViewKW->setMinimumWidth(kWordColumnWidth + kCountColumnWidth + scroll_bar +
                              2 * ListViewKW->frameWidth() + 2);
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(4, 4, 4, 4);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(4);
  grid->addLayout(text, 0, 0);
  grid->addLayout(words, 0, 1);
  grid->addWidget(pbKW, 1, 0, 1, 2);
  grid->setColumnStretch(0, 1);
}

bool KeywordSearchTab::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (watched == EditKW) EditKWKeyDown(key);
    if (watched == ListBoxKW) ListBoxKWKeyDown(key);
  }
  return QWidget::eventFilter(watched, event);
}

bool KeywordSearchTab::ChooseFile(std::string& path) {
  OpenDialog1->InitialDir = PathToQ(context_.Settings().KeywordsFolder);
  if (!OpenDialog1->Execute(this)) return false;
  path = PathFromDialog(OpenDialog1->FileName);
  return true;
}

void KeywordSearchTab::BeginJob(Job job, QPushButton* button) {
  job_ = job;
  job_button_ = button;
  job_caption_ = button->text();
  button->setText(ToQ(context_.Texts().StringStop));
  for (QPushButton* other : {ButtonOpenFile, ButtonKWInsert, ButtonKWSearch, ButtonKWClearText})
    if (other != button) other->setEnabled(false);
  cbCase->setEnabled(false);
  MemoKW->setReadOnly(true);
  pbKW->setRange(0, 0);  // busy until a slice tells how far it is
}

void KeywordSearchTab::EndJob() {
  if (job_ == Job::None) return;
  job_ = Job::None;
  job_button_->setText(job_caption_);
  job_button_ = nullptr;
  for (QPushButton* button : {ButtonOpenFile, ButtonKWInsert, ButtonKWSearch, ButtonKWClearText})
    button->setEnabled(true);
  cbCase->setEnabled(true);
  MemoKW->setReadOnly(false);
  pbKW->setRange(0, 100);
  pbKW->setValue(0);
}

void KeywordSearchTab::StopJob() {
  stopping_ = true;  // the finishing step that the stop runs takes nothing over
  memo_slices_->Stop();
  KeywordWorker->Stop();
  stopping_ = false;
  EndJob();
}

void KeywordSearchTab::StopJobs() {
  StopJob();
  KeywordWorker->StopAndWait();
}

void KeywordSearchTab::ButtonOpenFileClick() {
  if (job_ == Job::Open) return StopJob();
  if (Busy()) return;
  std::string path;
  if (!ChooseFile(path)) return;
  BeginJob(Job::Open, ButtonOpenFile);
  auto outcome = std::make_shared<Outcome>();
  KeywordWorker->Start(
      [outcome, path](LongJob::Context& context) {
        // The file is read as text (UTF-8, or Windows-1251 decoded), so that its words are
        // counted and folded as letters of every script.
        TextList lines = SplitLines(ReadUserText(path, kDocumentLimit));
        if (context.Stopped()) return;
        CleanOpenedText(lines);
        outcome->memo_lines = MemoDisplayLines(lines);
        lines = {};
        outcome->cached_lines =
            std::make_shared<const TextList>(LinesOfBlocks(outcome->memo_lines));
        outcome->ready = true;
      },
      [this, outcome, path] {
        // An unreadable file (shown already) or a stop leaves the memo as it is.
        if (stopping_ || !outcome->ready) return EndJob();
        memo_lines_.reset();
        memo_slices_->Fill(MemoKW, std::move(outcome->memo_lines), [this, outcome, path] {
          memo_lines_ = outcome->cached_lines;
          context_.Settings().KeywordsFolder = FolderOf(path);
          EndJob();
        });
      });
}

void KeywordSearchTab::ButtonKWSearchClick() {
  if (job_ == Job::Search) return StopJob();
  if (Busy()) return;
  ListViewKWRows->SetRows({});
  // A bad number stops the search here, with the rows cleared and the count caption as it was.
  const int min_length = StrToInt(FromQ(EditKWLength->text()));
  const int min_frequency = StrToInt(FromQ(EditKWFreq->text()));
  const bool case_sensitive = cbCase->isChecked();
  BeginJob(Job::Search, ButtonKWSearch);
  if (memo_lines_) return CountWords(memo_lines_, {}, min_length, min_frequency, case_sensitive);
  memo_slices_->Read(MemoKW, [=, this](QStringList blocks) {
    CountWords(nullptr, std::move(blocks), min_length, min_frequency, case_sensitive);
  });
}

void KeywordSearchTab::CountWords(std::shared_ptr<const TextList> lines, QStringList blocks,
                                  int min_length, int min_frequency, bool case_sensitive) {
  pbKW->setRange(0, 0);
  auto outcome = std::make_shared<Outcome>();
  outcome->sort_state = sort_state_;
  KeywordWorker->Start(
      [=, blocks = std::move(blocks)](LongJob::Context&) {
        const TextList read = lines ? TextList() : LinesOfBlocks(blocks);
        std::vector<KeywordEntry> rows =
            FindKeywords(lines ? *lines : read, min_length, min_frequency, case_sensitive);
        outcome->sort_state.Direction = -1;
        SortKeywordList(rows, 1, outcome->sort_state);  // highest count first
        outcome->rows = std::move(rows);
        outcome->ready = true;
      },
      [this, outcome] {
        if (!stopping_ && outcome->ready) {
          sort_state_ = outcome->sort_state;
          ListViewKWRows->SetRows(std::move(outcome->rows));
          UpdateWordsPanel();
        }
        EndJob();
      });
}

void KeywordSearchTab::cbCaseClick() {
  // A click counts again at once; a count already running gives way to it.
  if (job_ == Job::Search) StopJob();
  ButtonKWSearchClick();
}

void KeywordSearchTab::ListViewKWColumnClick(int column) {
  ListViewKWRows->Sort(column, sort_state_);
}

void KeywordSearchTab::ButtonKWAddClick() {
  TextList words;
  for (const auto& row : ListViewKWRows->Rows())
    if (row.Checked) words.push_back(row.Word);
  ListBoxKWItems->Append(std::move(words));
  UpdateKeywordsPanel();
}

void KeywordSearchTab::ButtonKWClearClick() {
  ListBoxKWItems->Clear();
  UpdateKeywordsPanel();
}

void KeywordSearchTab::ButtonKWCheckClick() {
  ListViewKWRows->SetAllChecked(true);
}

void KeywordSearchTab::ButtonKWUncheckClick() {
  ListViewKWRows->SetAllChecked(false);
}

void KeywordSearchTab::EditKWKeyDown(int key) {
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return;
  ListBoxKWItems->Append({FromQ(EditKW->text())});  // an empty text is a keyword too
  EditKW->clear();
  UpdateKeywordsPanel();
}

void KeywordSearchTab::ButtonKWInsertClick() {
  if (job_ == Job::Insert) return StopJob();
  if (Busy()) return;
  std::string path;
  if (!ChooseFile(path)) return;
  BeginJob(Job::Insert, ButtonKWInsert);
  auto outcome = std::make_shared<Outcome>();
  KeywordWorker->Start(
      [outcome, path](LongJob::Context&) {
        outcome->items = SplitLines(ReadUserText(path, kProfileLimit));
        outcome->ready = true;
      },
      [this, outcome, path] {
        // An unreadable file (shown already) or a stop leaves the list as it is.
        if (!stopping_ && outcome->ready) {
          ListBoxKWItems->SetLines(std::move(outcome->items));
          context_.Settings().KeywordsFolder = FolderOf(path);
          UpdateKeywordsPanel();
        }
        EndJob();
      });
}

void KeywordSearchTab::ButtonKWRemoveClick() {
  // Rebuilt in one pass: taking selected items out one by one would be quadratic.
  ListBoxKWItems->RemoveRows(SelectedRowMarks(*ListBoxKW));
  UpdateKeywordsPanel();
}

void KeywordSearchTab::ListBoxKWKeyDown(int key) {
  if (key == Qt::Key_Delete) ButtonKWRemoveClick();
}

void KeywordSearchTab::ButtonKWClearTextClick() {
  if (Busy()) return;  // the memo belongs to the running job
  MemoKW->clear();
}

void KeywordSearchTab::UpdateWordsPanel() {
  PanelKWWords->setText(ToQ(context_.Texts().StringWords + IntToStr(ListViewKWRows->rowCount())));
}

void KeywordSearchTab::UpdateKeywordsPanel() {
  PanelKWKeywords->setText(
      ToQ(context_.Texts().StringKeywords + IntToStr(ListBoxKWItems->rowCount())));
}

TextList KeywordSearchTab::KeywordItems() const {
  return ListBoxKWItems->Lines();
}

}  // namespace pagelathe
