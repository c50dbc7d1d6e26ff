// The Search Keywords tab.
#include "tools/keywords/KeywordSearchTab.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "app/TForm1.h"
#include "platform/FileRead.h"
#include "platform/IntParse.h"
#include "platform/Paths.h"
#include "platform/Utf8.h"
#include "tools/keywords/KeywordListModel.h"
#include "tools/keywords/MemoLines.h"
#include "ui/Controls.h"
#include "ui/FileDialogs.h"
#include "ui/Text1251.h"

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

KeywordSearchTab::KeywordSearchTab(TForm1& form, QWidget* parent) : QWidget(parent), form_(form) {
  setObjectName("TabSheetKeywordsSearch");
  BuildControls();
  LayOut();
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

  ListBoxKW = new QListWidget(this);
  ListBoxKW->setObjectName("ListBoxKW");
  ListBoxKW->setSelectionMode(QAbstractItemView::ExtendedSelection);
  ListBoxKW->setUniformItemSizes(true);
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
  OpenDialog1->InitialDir = ToQ(form_.KeywordsFolder);
  if (!OpenDialog1->Execute(this)) return false;
  path = FromQ(OpenDialog1->FileName);
  return true;
}

void KeywordSearchTab::ButtonOpenFileClick() {
  std::string path;
  if (!ChooseFile(path)) return;
  // An unreadable file leaves the memo as it is; a UTF-8 text is read into the program's
  // code page, so that its words are counted and folded as letters.
  TextList lines = SplitLines(DocumentTo1251(ReadUserFile(path, kDocumentLimit)));
  CleanOpenedText(lines);
  SetMemoLines(MemoKW, lines);
  form_.KeywordsFolder = FolderOf(path);
}

void KeywordSearchTab::ButtonKWSearchClick() {
  ListViewKWRows->SetRows({});
  // A bad number stops the search here, with the rows cleared and the count caption as it was.
  const int min_length = StrToInt(FromQ(EditKWLength->text()));
  const int min_frequency = StrToInt(FromQ(EditKWFreq->text()));
  std::vector<KeywordEntry> rows =
      FindKeywords(MemoLines(MemoKW), min_length, min_frequency, cbCase->isChecked());
  sort_state_.Direction = -1;
  SortKeywordList(rows, 1, sort_state_);  // highest count first
  ListViewKWRows->SetRows(std::move(rows));
  UpdateWordsPanel();
}

void KeywordSearchTab::cbCaseClick() {
  ButtonKWSearchClick();
}

void KeywordSearchTab::ListViewKWColumnClick(int column) {
  ListViewKWRows->Sort(column, sort_state_);
}

void KeywordSearchTab::ButtonKWAddClick() {
  QStringList words;
  for (const auto& row : ListViewKWRows->Rows())
    if (row.Checked) words.append(ToQ(row.Word));
  ListBoxKW->addItems(words);
  UpdateKeywordsPanel();
}

void KeywordSearchTab::ButtonKWClearClick() {
  ListBoxKW->clear();
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
  ListBoxKW->addItem(EditKW->text());  // an empty text is a keyword too
  EditKW->clear();
  UpdateKeywordsPanel();
}

void KeywordSearchTab::ButtonKWInsertClick() {
  std::string path;
  if (!ChooseFile(path)) return;
  // An unreadable file leaves the list as it is.
  const TextList lines = SplitLines(DocumentTo1251(ReadUserFile(path, kProfileLimit)));
  QStringList items;
  items.reserve(static_cast<qsizetype>(lines.size()));
  for (const auto& line : lines)
    items.append(ToQ(line));
  ListBoxKW->clear();
  ListBoxKW->addItems(items);
  form_.KeywordsFolder = FolderOf(path);
  UpdateKeywordsPanel();
}

void KeywordSearchTab::ButtonKWRemoveClick() {
  // Rebuilt in one pass: taking selected items out one by one would be quadratic.
  QStringList kept;
  bool removed = false;
  for (int i = 0; i < ListBoxKW->count(); ++i) {
    QListWidgetItem* item = ListBoxKW->item(i);
    if (item->isSelected()) {
      removed = true;
    } else {
      kept.append(item->text());
    }
  }
  if (removed) {
    ListBoxKW->clear();
    ListBoxKW->addItems(kept);
  }
  UpdateKeywordsPanel();
}

void KeywordSearchTab::ListBoxKWKeyDown(int key) {
  if (key == Qt::Key_Delete) ButtonKWRemoveClick();
}

void KeywordSearchTab::ButtonKWClearTextClick() {
  MemoKW->clear();
}

void KeywordSearchTab::UpdateWordsPanel() {
  PanelKWWords->setText(ToQ(form_.StringWords + IntToStr(ListViewKWRows->rowCount())));
}

void KeywordSearchTab::UpdateKeywordsPanel() {
  PanelKWKeywords->setText(ToQ(form_.StringKeywords + IntToStr(ListBoxKW->count())));
}

TextList KeywordSearchTab::KeywordItems() const {
  TextList items;
  items.reserve(static_cast<size_t>(ListBoxKW->count()));
  for (int i = 0; i < ListBoxKW->count(); ++i)
    items.push_back(FromQ(ListBoxKW->item(i)->text()));
  return items;
}

QString KeywordSearchTab::MemoText() const {
  return MemoKW->toPlainText();
}

}  // namespace pagelathe
