// The Search Keywords tab with real widgets: the search, the column clicks, the keyword list
// and the files it reads.
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStyle>
#include <QTabWidget>
#include <QTreeView>

#include <sys/stat.h>
#include "KeywordsFixture.h"
#include "platform/Errors.h"
#include "platform/Utf8.h"
#include "tools/keywords/KeywordListModel.h"
#include "tools/keywords/MemoLines.h"
#include "ui/Controls.h"

namespace pagelathe::testing {
namespace {

class KeywordSearchTabTest : public KeywordsFixture {
 protected:
  void Search(const std::string& text, const char* length, const char* frequency) {
    testing::Find<QPlainTextEdit>(search_, "MemoKW")->setPlainText(ToQ(text));
    testing::Find<QLineEdit>(search_, "EditKWLength")->setText(length);
    testing::Find<QLineEdit>(search_, "EditKWFreq")->setText(frequency);
    testing::Find<QPushButton>(search_, "ButtonKWSearch")->click();
    ASSERT_TRUE(Idle());
  }

  [[nodiscard]] std::vector<std::pair<std::string, std::string>> ShownRows() const {
    std::vector<std::pair<std::string, std::string>> rows;
    QAbstractItemModel* model = testing::Find<QTreeView>(search_, "ListViewKW")->model();
    for (int r = 0; r < model->rowCount(); ++r)
      rows.emplace_back(FromQ(model->index(r, 0).data().toString()),
                        FromQ(model->index(r, 1).data().toString()));
    return rows;
  }

  [[nodiscard]] TextList Items() const { return search_->KeywordItems(); }

  [[nodiscard]] std::string WordsPanel() const {
    return FromQ(testing::Find<TPanel>(search_, "PanelKWWords")->text());
  }
  [[nodiscard]] std::string KeywordsPanel() const {
    return FromQ(testing::Find<TPanel>(search_, "PanelKWKeywords")->text());
  }

  void SetChecked(int row, bool checked) {
    QAbstractItemModel* model = testing::Find<QTreeView>(search_, "ListViewKW")->model();
    model->setData(model->index(row, 0), checked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
  }
};

using Rows = std::vector<std::pair<std::string, std::string>>;

TEST_F(KeywordSearchTabTest, StartsWithTheDocumentedControls) {
  EXPECT_EQ(testing::Find<QTabWidget>(page_, "PageControlKeywords")->count(), 2);
  EXPECT_EQ(testing::Find<QTabWidget>(page_, "PageControlKeywords")->widget(0)->objectName(),
            "TabSheetKeywordsSearch");
  EXPECT_EQ(testing::Find<QTabWidget>(page_, "PageControlKeywords")->widget(1)->objectName(),
            "TabSheetKeywordsCreate");
  EXPECT_EQ(testing::Find<QTabWidget>(page_, "PageControlKeywords")->tabText(0), "Search Keywords");
  EXPECT_EQ(testing::Find<QTabWidget>(page_, "PageControlKeywords")->tabText(1), "Create Page");
  EXPECT_EQ(Find<QLineEdit>(form_.get(), "EditKWLength")->text(), "4");
  EXPECT_EQ(Find<QLineEdit>(form_.get(), "EditKWFreq")->text(), "4");
  EXPECT_FALSE(Find<QCheckBox>(form_.get(), "cbCase")->isChecked());
  auto* progress = Find<QProgressBar>(form_.get(), "pbKW");
  EXPECT_EQ(progress->minimum(), 0);
  EXPECT_EQ(progress->maximum(), 100);
  EXPECT_EQ(progress->value(), 0);
  auto* view = Find<QTreeView>(form_.get(), "ListViewKW");
  EXPECT_EQ(view->model()->headerData(0, Qt::Horizontal).toString(), "Word");
  EXPECT_EQ(view->model()->headerData(1, Qt::Horizontal).toString(), QString::fromUtf8("\u2116"));
  EXPECT_EQ(view->columnWidth(0) + view->columnWidth(1), 235 + 40);
  EXPECT_GE(view->columnWidth(1), 40);
  EXPECT_EQ(view->selectionMode(), QAbstractItemView::ExtendedSelection);
  EXPECT_EQ(view->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(Find<QListView>(form_.get(), "ListBoxKW")->selectionMode(),
            QAbstractItemView::ExtendedSelection);
  auto* open = Find<TFileDialog>(form_.get(), "OpenDialog1");
  EXPECT_EQ(open->Filter(),
            "All Files (*.*)|*.*|Text Files (*.txt)|*.txt|HTML Files (*.htm; *.html)|*.htm;*.html");
  EXPECT_EQ(open->DefaultExt, "*.*");
}

TEST_F(KeywordSearchTabTest, CountsOfUpToNineDigitsShowWholeInsideTheList) {
  form_->show();  // the first show turns to the first page
  form_->PageControl1()->setCurrentWidget(page_);
  ASSERT_TRUE(testing::WaitFor(
      [this] { return testing::Find<QTreeView>(search_, "ListViewKW")->isVisible(); }));
  QTreeView* view = testing::Find<QTreeView>(search_, "ListViewKW");
  testing::Find<KeywordListModel>(search_, "ListViewKWRows")
      ->SetRows({{"million", "1000000"}, {"most", "999999999"}});
  const QFontMetrics metrics(view->font());
  const int margins = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
  for (int row = 0; row < 2; ++row) {
    const QString count = view->model()->index(row, 1).data().toString();
    EXPECT_LE(metrics.horizontalAdvance(count) + margins, view->columnWidth(1))
        << count.toStdString();
  }
  EXPECT_LE(view->columnWidth(0) + view->columnWidth(1), view->viewport()->width());
}

TEST_F(KeywordSearchTabTest, ApplesWithAndWithoutCase) {
  Search("Apple apple, APPLE. pear", "4", "2");
  EXPECT_EQ(ShownRows(), (Rows{{"APPLE", "3"}}));
  EXPECT_EQ(WordsPanel(), "Words: 1");
  EXPECT_EQ(testing::Find<QTreeView>(search_, "ListViewKW")
                ->model()
                ->index(0, 0)
                .data(Qt::CheckStateRole)
                .toInt(),
            Qt::Checked);
  testing::Find<QCheckBox>(search_, "cbCase")->click();  // a click searches again at once
  ASSERT_TRUE(Idle());
  EXPECT_TRUE(testing::Find<QCheckBox>(search_, "cbCase")->isChecked());
  EXPECT_EQ(ShownRows(), Rows{});
  EXPECT_EQ(WordsPanel(), "Words: 0");
  testing::Find<QCheckBox>(search_, "cbCase")->click();
  ASSERT_TRUE(Idle());
  EXPECT_EQ(ShownRows(), (Rows{{"APPLE", "3"}}));
}

TEST_F(KeywordSearchTabTest, SearchOrdersByCountThenColumnClicksReorder) {
  Search("b a c c a c\nd", "1", "1");
  struct Step {
    int column;  // -1: the search itself
    Rows rows;
  };
  const std::vector<Step> steps = {
      {-1, {{"c", "3"}, {"a", "2"}, {"b", "1"}, {"d", "1"}}},
      {0, {{"d", "1"}, {"c", "3"}, {"b", "1"}, {"a", "2"}}},
      {0, {{"a", "2"}, {"b", "1"}, {"c", "3"}, {"d", "1"}}},
      {1, {{"c", "3"}, {"a", "2"}, {"b", "1"}, {"d", "1"}}},
      {1, {{"b", "1"}, {"d", "1"}, {"a", "2"}, {"c", "3"}}},
  };
  for (size_t i = 0; i < steps.size(); ++i) {
    if (steps[i].column >= 0)
      emit testing::Find<QTreeView>(search_, "ListViewKW")
          ->header()
          ->sectionClicked(steps[i].column);
    EXPECT_EQ(ShownRows(), steps[i].rows) << "step " << i;
  }
  // A new search sorts by count again, highest first, whatever the last click was.
  testing::Find<QPushButton>(search_, "ButtonKWSearch")->click();
  ASSERT_TRUE(Idle());
  EXPECT_EQ(ShownRows(), steps[0].rows);
  EXPECT_EQ(search_->SortState(), (KeywordSortState{1, 1}));
}

TEST_F(KeywordSearchTabTest, ABCGivesThreeRowsOfOne) {
  Search("a b c", "1", "1");
  EXPECT_EQ(ShownRows(), (Rows{{"a", "1"}, {"b", "1"}, {"c", "1"}}));
  EXPECT_EQ(WordsPanel(), "Words: 3");
}

TEST_F(KeywordSearchTabTest, BadNumbersRaiseAfterTheRowsWereCleared) {
  struct Case {
    const char* length;
    const char* frequency;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"x", "1", "'x' is not a valid integer value"},
      {"1", "2.5", "'2.5' is not a valid integer value"},
      {"", "1", "'' is not a valid integer value"},
      {"1", "", "'' is not a valid integer value"},
  };
  for (const auto& c : cases) {
    Search("one two three", "1", "1");
    ASSERT_EQ(ShownRows().size(), 3u);
    testing::Find<QLineEdit>(search_, "EditKWLength")->setText(c.length);
    testing::Find<QLineEdit>(search_, "EditKWFreq")->setText(c.frequency);
    try {
      search_->ButtonKWSearchClick();
      ADD_FAILURE() << "no error for " << c.length << " / " << c.frequency;
    } catch (const EConvertError& error) {
      EXPECT_EQ(std::string(error.what()), c.message);
    }
    EXPECT_EQ(ShownRows(), Rows{});
    EXPECT_EQ(WordsPanel(), "Words: 3");  // the caption keeps its old text
  }
}

TEST_F(KeywordSearchTabTest, BadNumberThroughAClickIsShownAsAnError) {
  testing::Find<QLineEdit>(search_, "EditKWFreq")->setText("many");
  ClickButton(testing::Find<QPushButton>(search_, "ButtonKWSearch"));
  ASSERT_EQ(RecordedMessages().size(), 1u);
  EXPECT_TRUE(RecordedMessages()[0].is_error);
  EXPECT_EQ(RecordedMessages()[0].text, "'many' is not a valid integer value");
}

TEST_F(KeywordSearchTabTest, AddAppendsTheCheckedWordsInRowOrderEveryTime) {
  Search("gamma beta beta alpha alpha alpha", "1", "1");
  testing::Find<QPushButton>(search_, "ButtonKWAdd")->click();
  EXPECT_EQ(Items(), (TextList{"alpha", "beta", "gamma"}));
  testing::Find<QPushButton>(search_, "ButtonKWAdd")->click();
  EXPECT_EQ(Items(), (TextList{"alpha", "beta", "gamma", "alpha", "beta", "gamma"}));
  EXPECT_EQ(KeywordsPanel(), "Keywords: 6");

  testing::Find<QPushButton>(search_, "ButtonKWClear")->click();
  EXPECT_EQ(Items(), TextList{});
  EXPECT_EQ(KeywordsPanel(), "Keywords: 0");

  SetChecked(1, false);
  testing::Find<QPushButton>(search_, "ButtonKWAdd")->click();
  EXPECT_EQ(Items(), (TextList{"alpha", "gamma"}));

  testing::Find<QPushButton>(search_, "ButtonKWUncheck")->click();
  testing::Find<QPushButton>(search_, "ButtonKWAdd")->click();
  EXPECT_EQ(Items(), (TextList{"alpha", "gamma"}));

  testing::Find<QPushButton>(search_, "ButtonKWCheck")->click();
  testing::Find<QPushButton>(search_, "ButtonKWAdd")->click();
  EXPECT_EQ(Items(), (TextList{"alpha", "gamma", "alpha", "beta", "gamma"}));
  EXPECT_EQ(KeywordsPanel(), "Keywords: 5");
}

TEST_F(KeywordSearchTabTest, CheckMarksFollowTheirRowsThroughASort) {
  Search("b a a", "1", "1");                                                          // a 2, b 1
  SetChecked(0, false);                                                               // a
  emit testing::Find<QTreeView>(search_, "ListViewKW")->header()->sectionClicked(0);  // b, a
  testing::Find<QPushButton>(search_, "ButtonKWAdd")->click();
  EXPECT_EQ(Items(), (TextList{"b"}));
}

TEST_F(KeywordSearchTabTest, EnterInTheEditAppendsItsTextEvenEmpty) {
  struct Step {
    QString typed;
    int key;
    TextList items;
    QString edit_after;
  };
  const std::vector<Step> steps = {
      {"", Qt::Key_Return, {""}, ""},
      {"web design", Qt::Key_Enter, {"", "web design"}, ""},
      {"  spaced  ", Qt::Key_Return, {"", "web design", "  spaced  "}, ""},
      {"kept", Qt::Key_Tab, {"", "web design", "  spaced  "}, "kept"},
      {"kept", Qt::Key_A, {"", "web design", "  spaced  "}, "kept"},
  };
  for (size_t i = 0; i < steps.size(); ++i) {
    testing::Find<QLineEdit>(search_, "EditKW")->setText(steps[i].typed);
    PressKey(testing::Find<QLineEdit>(search_, "EditKW"), steps[i].key);
    EXPECT_EQ(Items(), steps[i].items) << "step " << i;
    EXPECT_EQ(testing::Find<QLineEdit>(search_, "EditKW")->text(), steps[i].edit_after)
        << "step " << i;
  }
  EXPECT_EQ(KeywordsPanel(), "Keywords: 3");
}

TEST_F(KeywordSearchTabTest, RemoveTakesTheSelectedItemsOnly) {
  struct Case {
    std::vector<int> selected;
    bool by_delete_key;
    TextList left;
  };
  const std::vector<Case> cases = {
      {{0, 2}, false, {"b", "d", "e"}},
      {{4}, true, {"a", "b", "c", "d"}},
      {{}, false, {"a", "b", "c", "d", "e"}},
      {{0, 1, 2, 3, 4}, true, {}},
  };
  for (const auto& c : cases) {
    SetItems({"a", "b", "c", "d", "e"});
    for (int row : c.selected)
      SelectItem(row);
    if (c.by_delete_key) {
      PressKey(testing::Find<QListView>(search_, "ListBoxKW"), Qt::Key_Delete);
    } else {
      testing::Find<QPushButton>(search_, "ButtonKWRemove")->click();
    }
    EXPECT_EQ(Items(), c.left);
    EXPECT_EQ(KeywordsPanel(), "Keywords: " + std::to_string(c.left.size()));
  }
  // Other keys leave the list alone.
  SetItems({"x"});
  SelectItem(0);
  PressKey(testing::Find<QListView>(search_, "ListBoxKW"), Qt::Key_Backspace);
  EXPECT_EQ(Items(), TextList{"x"});
}

TEST_F(KeywordSearchTabTest, ClearTextEmptiesTheMemoOnly) {
  Search("one one", "1", "1");
  testing::Find<QPushButton>(search_, "ButtonKWAdd")->click();
  testing::Find<QPushButton>(search_, "ButtonKWClearText")->click();
  EXPECT_TRUE(testing::Find<QPlainTextEdit>(search_, "MemoKW")->toPlainText().isEmpty());
  EXPECT_EQ(ShownRows(), (Rows{{"one", "2"}}));
  EXPECT_EQ(Items(), TextList{"one"});
}

TEST_F(KeywordSearchTabTest, OpenCleansTheFileAndRemembersItsFolder) {
  form_->Context().Settings().KeywordsFolder = dir_.MakeFolder("keywords");
  const std::string file = dir_.Write(
      "texts/page.htm", "<p>Hello   <b>big</b> world</p>\r\n<a\r\nhref>x</a>\r\nsecond  line\r\n");
  Answer(file);
  testing::Find<QPushButton>(search_, "ButtonOpenFile")->click();
  ASSERT_TRUE(Idle());
  ASSERT_EQ(calls_.size(), 1u);
  EXPECT_EQ(calls_[0].name, "OpenDialog1");
  EXPECT_EQ(calls_[0].initial_dir, ToQ(dir_ / "keywords/"));
  EXPECT_EQ(testing::Find<QPlainTextEdit>(search_, "MemoKW")->toPlainText(),
            "Hello big world\n\nhref>x\nsecond line");
  EXPECT_EQ(form_->Context().Settings().KeywordsFolder, dir_ / "texts/");
  // The next dialog starts where the last file was.
  Answer("");
  testing::Find<QPushButton>(search_, "ButtonOpenFile")->click();
  ASSERT_EQ(calls_.size(), 2u);
  EXPECT_EQ(calls_[1].initial_dir, ToQ(dir_ / "texts/"));
}

TEST_F(KeywordSearchTabTest, CancelAndUnreadableFilesChangeNothing) {
  testing::Find<QPlainTextEdit>(search_, "MemoKW")->setPlainText("kept text");
  SetItems({"kept"});
  form_->Context().Settings().KeywordsFolder = dir_.Path();
  Answer("");
  testing::Find<QPushButton>(search_, "ButtonOpenFile")->click();
  testing::Find<QPushButton>(search_, "ButtonKWInsert")->click();
  EXPECT_FALSE(search_->Busy());
  EXPECT_TRUE(RecordedMessages().empty());
  // Files that cannot be read, each named in its error: missing, a folder, a pipe.
  const std::string pipe = dir_ / "pipe.txt";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  for (const std::string& path : {dir_ / "missing.txt", dir_.MakeFolder("folder.txt"), pipe}) {
    for (QPushButton* button : {testing::Find<QPushButton>(search_, "ButtonOpenFile"),
                                testing::Find<QPushButton>(search_, "ButtonKWInsert")}) {
      SCOPED_TRACE(path + " " + button->objectName().toStdString());
      RecordedMessages().clear();
      Answer(path);
      ClickButton(button);
      ASSERT_TRUE(Idle());
      ASSERT_EQ(RecordedMessages().size(), 1u);
      EXPECT_TRUE(RecordedMessages()[0].is_error);
      EXPECT_NE(RecordedMessages()[0].text.find(path), std::string::npos)
          << RecordedMessages()[0].text;
      EXPECT_EQ(testing::Find<QPlainTextEdit>(search_, "MemoKW")->toPlainText(), "kept text");
      EXPECT_EQ(Items(), TextList{"kept"});
      EXPECT_EQ(form_->Context().Settings().KeywordsFolder, dir_.Path());
      EXPECT_EQ(button->text(), button == testing::Find<QPushButton>(search_, "ButtonOpenFile")
                                    ? "Open"
                                    : "Insert From File");
    }
  }
}

TEST_F(KeywordSearchTabTest, InsertFromFileReplacesTheKeywordList) {
  SetItems({"old"});
  const std::string file = dir_.Write("lists/words.txt", "alpha\r\n\r\nbeta gamma\n<b>\n");
  Answer(file);
  testing::Find<QPushButton>(search_, "ButtonKWInsert")->click();
  ASSERT_TRUE(Idle());
  EXPECT_EQ(Items(), (TextList{"alpha", "", "beta gamma", "<b>"}));
  EXPECT_EQ(KeywordsPanel(), "Keywords: 4");
  EXPECT_EQ(form_->Context().Settings().KeywordsFolder, dir_ / "lists/");
}

TEST_F(KeywordSearchTabTest, LanguageRefreshesBothPanelsAndTheColumnCaption) {
  Search("a b", "1", "1");
  SetItems({"x", "y", "z"});
  form_->Context().Texts().StringWords = "Mots ";
  form_->Context().Texts().StringKeywords = "Cles ";
  form_->LoadLanguage("English");
  EXPECT_EQ(WordsPanel(), "Mots 2");
  EXPECT_EQ(KeywordsPanel(), "Cles 3");
  EXPECT_TRUE(testing::Find<QTreeView>(search_, "ListViewKW")
                  ->model()
                  ->setHeaderData(0, Qt::Horizontal, "Slovo"));
  EXPECT_EQ(testing::Find<QTreeView>(search_, "ListViewKW")
                ->model()
                ->headerData(0, Qt::Horizontal)
                .toString(),
            "Slovo");
  EXPECT_EQ(testing::Find<QTreeView>(search_, "ListViewKW")
                ->model()
                ->headerData(1, Qt::Horizontal)
                .toString(),
            QString::fromUtf8("\u2116"));
}

TEST_F(KeywordSearchTabTest, TextsOfEveryScriptAndWindows1251ReadAsLetters) {
  struct Case {
    const char* name;
    std::string bytes;  // the file
    QString shown;      // the memo
    Rows rows;          // length 4, frequency 2
    TextList items;     // the same file inserted as a keyword list
  };
  const Case cases[] = {
      {"utf8.txt",
       "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 "
       "\xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xE2\x82\xAC\xE4\xB8\xAD!\r\n",
       QString::fromUtf8("Привет привет €中!"),
       {{"привет", "2"}},
       {"Привет привет €中!"}},
      {"de.txt",
       "Größe größe GRÖSSE\n",
       QString::fromUtf8("Größe größe GRÖSSE"),
       {{"größe", "2"}},
       {"Größe größe GRÖSSE"}},
      {"cp1251.txt",
       "\xCF\xF0\xE8\xE2\xE5\xF2 \xEF\xF0\xE8\xE2\xE5\xF2\r\n",
       QString::fromUtf8("Привет привет"),
       {{"привет", "2"}},
       {"Привет привет"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Answer(dir_.Write(c.name, c.bytes));
    testing::Find<QPushButton>(search_, "ButtonOpenFile")->click();
    ASSERT_TRUE(Idle());
    EXPECT_EQ(testing::Find<QPlainTextEdit>(search_, "MemoKW")->toPlainText(), c.shown);
    testing::Find<QLineEdit>(search_, "EditKWLength")->setText("4");
    testing::Find<QLineEdit>(search_, "EditKWFreq")->setText("2");
    testing::Find<QPushButton>(search_, "ButtonKWSearch")->click();
    ASSERT_TRUE(Idle());
    EXPECT_EQ(ShownRows(), c.rows);
    testing::Find<QPushButton>(search_, "ButtonKWInsert")->click();
    ASSERT_TRUE(Idle());
    EXPECT_EQ(Items(), c.items);
  }
  EXPECT_TRUE(RecordedMessages().empty());
}

TEST_F(KeywordSearchTabTest, AJobShowsItsStopButtonAndAStopChangesNothing) {
  testing::Find<QPlainTextEdit>(search_, "MemoKW")->setPlainText("kept kept words words");
  testing::Find<QLineEdit>(search_, "EditKWLength")->setText("1");
  testing::Find<QLineEdit>(search_, "EditKWFreq")->setText("1");
  form_->Context().Texts().StringStop = "Stop";
  // The results come back through the window's events, so a job has not ended when its
  // button's click returns; a second click stops it.
  ClickButton(testing::Find<QPushButton>(search_, "ButtonKWSearch"));
  ASSERT_TRUE(search_->Busy());
  EXPECT_EQ(testing::Find<QPushButton>(search_, "ButtonKWSearch")->text(), "Stop");
  EXPECT_TRUE(testing::Find<QPushButton>(search_, "ButtonKWSearch")->isEnabled());
  for (QPushButton* other : {testing::Find<QPushButton>(search_, "ButtonOpenFile"),
                             testing::Find<QPushButton>(search_, "ButtonKWInsert"),
                             testing::Find<QPushButton>(search_, "ButtonKWClearText")})
    EXPECT_FALSE(other->isEnabled()) << other->objectName().toStdString();
  EXPECT_FALSE(testing::Find<QCheckBox>(search_, "cbCase")->isEnabled());
  EXPECT_TRUE(testing::Find<QPlainTextEdit>(search_, "MemoKW")->isReadOnly());
  ClickButton(testing::Find<QPushButton>(search_, "ButtonKWSearch"));
  EXPECT_FALSE(search_->Busy());
  EXPECT_EQ(testing::Find<QPushButton>(search_, "ButtonKWSearch")->text(), "Search");
  EXPECT_TRUE(testing::Find<QPushButton>(search_, "ButtonOpenFile")->isEnabled());
  EXPECT_TRUE(testing::Find<QCheckBox>(search_, "cbCase")->isEnabled());
  EXPECT_FALSE(testing::Find<QPlainTextEdit>(search_, "MemoKW")->isReadOnly());
  // The stopped count arrives nowhere, even once its worker is done.
  QCoreApplication::processEvents();
  testing::Find<KeywordJob>(search_, "KeywordWorker")->StopAndWait();
  QCoreApplication::processEvents();
  EXPECT_EQ(ShownRows(), Rows{});

  // The same for Open: the memo keeps its text.
  Answer(dir_.Write("other.txt", "other text"));
  ClickButton(testing::Find<QPushButton>(search_, "ButtonOpenFile"));
  ASSERT_TRUE(search_->Busy());
  EXPECT_EQ(testing::Find<QPushButton>(search_, "ButtonOpenFile")->text(), "Stop");
  EXPECT_FALSE(testing::Find<QPushButton>(search_, "ButtonKWSearch")->isEnabled());
  ClickButton(testing::Find<QPushButton>(search_, "ButtonOpenFile"));
  EXPECT_FALSE(search_->Busy());
  testing::Find<KeywordJob>(search_, "KeywordWorker")->StopAndWait();
  QCoreApplication::processEvents();
  EXPECT_EQ(testing::Find<QPlainTextEdit>(search_, "MemoKW")->toPlainText(),
            "kept kept words words");
  EXPECT_EQ(testing::Find<QPushButton>(search_, "ButtonOpenFile")->text(), "Open");
}

TEST_F(KeywordSearchTabTest, ALargeTextCountsAsTheEngineCountsIt) {
  // Words of several forms and lengths, non-breaking spaces among the blanks, fifteen thousand
  // lines: read back from the memo after Open and after an edit, the rows are the engine's.
  std::string text;
  for (int i = 0; i < 15000; ++i) {
    text += "Word" + std::to_string(i % 97) + " word" + std::to_string(i % 89) + "\xA0w" +
            std::to_string(i % 7) + " \xD1\xEB\xEE\xE2\xEE " + "<b>tag</b>\r\n";
  }
  TextList lines = SplitLines(DecodeText(text));  // a Windows-1251 file
  CleanOpenedText(lines);
  QPlainTextEdit reference;
  SetMemoLines(&reference, lines);
  for (bool case_sensitive : {false, true}) {
    SCOPED_TRACE(case_sensitive);
    std::vector<KeywordEntry> expected = FindKeywords(MemoLines(&reference), 2, 3, case_sensitive);
    KeywordSortState state;
    SortKeywordList(expected, 1, state);
    Rows rows;
    for (const KeywordEntry& entry : expected)
      rows.emplace_back(entry.Word, entry.Count);

    Answer(dir_.Write("large.htm", text));
    testing::Find<QPushButton>(search_, "ButtonOpenFile")->click();
    ASSERT_TRUE(Idle());
    ASSERT_EQ(testing::Find<QPlainTextEdit>(search_, "MemoKW")->toPlainText(),
              reference.toPlainText());
    testing::Find<QLineEdit>(search_, "EditKWLength")->setText("2");
    testing::Find<QLineEdit>(search_, "EditKWFreq")->setText("3");
    testing::Find<QCheckBox>(search_, "cbCase")->setChecked(case_sensitive);
    testing::Find<QPushButton>(search_, "ButtonKWSearch")->click();
    ASSERT_TRUE(Idle());
    EXPECT_EQ(ShownRows(), rows);
    // An edit that changes nothing in the words makes the memo be read back.
    testing::Find<QPlainTextEdit>(search_, "MemoKW")->appendPlainText("");
    testing::Find<QPushButton>(search_, "ButtonKWSearch")->click();
    ASSERT_TRUE(Idle());
    EXPECT_EQ(ShownRows(), rows);
  }
}

TEST_F(KeywordSearchTabTest, WordsOfEveryScriptRoundTrip) {
  Search("Дом дом ДОМ ΟΔΟΣ οδος Οδος 日本語 日本語 日本語", "3", "3");
  EXPECT_EQ(ShownRows(), (Rows{{"Οδος", "3"}, {"ДОМ", "3"}, {"日本語", "3"}}));
}

}  // namespace
}  // namespace pagelathe::testing
