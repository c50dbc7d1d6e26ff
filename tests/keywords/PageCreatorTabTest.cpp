// The Create Page tab with real widgets: entering the tab, the page it builds, saving and
// previewing.
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>

#include "KeywordsFixture.h"
#include "platform/Errors.h"
#include "platform/TextList.h"

namespace pagelathe::testing {
namespace {

class PageCreatorTabTest : public KeywordsFixture {
 protected:
  void EnterCreateTab() {
    testing::Find<QTabWidget>(page_, "PageControlKeywords")->setCurrentIndex(0);
    testing::Find<QTabWidget>(page_, "PageControlKeywords")->setCurrentIndex(1);
    ASSERT_TRUE(Idle());  // the first tab's text is copied in slices
  }

  [[nodiscard]] TextList CodeLines() const {
    return SplitLines(
        FromQ(testing::Find<QPlainTextEdit>(creator_, "MemoPageCode")->toPlainText()));
  }
};

TEST_F(PageCreatorTabTest, StartsEmptyWithSaveAndPreviewDisabled) {
  EXPECT_FALSE(Find<QCheckBox>(form_.get(), "cbInsertText")->isChecked());
  EXPECT_FALSE(Find<QPushButton>(form_.get(), "ButtonPageSave")->isEnabled());
  EXPECT_FALSE(Find<QPushButton>(form_.get(), "ButtonPagePreview")->isEnabled());
  EXPECT_TRUE(Find<QPushButton>(form_.get(), "ButtonPageCreate")->isEnabled());
  EXPECT_FALSE(Find<QPlainTextEdit>(form_.get(), "MemoPageCode")->isReadOnly());
  auto* save = Find<TFileDialog>(form_.get(), "SaveDialogKW");
  EXPECT_EQ(save->Filter(), "HTML Files (*.htm; *.html)|*.htm;*.html");
  EXPECT_EQ(save->DefaultExt, "*.htm");
}

TEST_F(PageCreatorTabTest, EnteringTheTabTakesKeywordsAndText) {
  struct Case {
    const char* name;
    TextList keywords;
    QString expected;
  };
  const std::vector<Case> cases = {
      {"Three", {"alpha", "beta", "gamma"}, "alpha, beta, gamma"},
      {"One", {"alpha"}, "alpha"},
      {"NoneKeepsTheMemo", {}, "typed by hand"},
  };
  for (const auto& c : cases) {
    testing::Find<QPlainTextEdit>(creator_, "MemoPageKW")->setPlainText("typed by hand");
    SetItems(c.keywords);
    EnterCreateTab();
    EXPECT_EQ(testing::Find<QPlainTextEdit>(creator_, "MemoPageKW")->toPlainText(), c.expected)
        << c.name;
  }
}

TEST_F(PageCreatorTabTest, SecondVisitKeepsAHandEditedTextButNotHandEditedKeywords) {
  testing::Find<QPlainTextEdit>(search_, "MemoKW")->setPlainText("first line\nsecond line");
  SetItems({"alpha", "beta"});
  EnterCreateTab();
  EXPECT_TRUE(testing::Find<QCheckBox>(creator_, "cbInsertText")->isChecked());
  EXPECT_EQ(testing::Find<QPlainTextEdit>(creator_, "MemoPageText")->toPlainText(),
            "first line\nsecond line");
  EXPECT_EQ(testing::Find<QPlainTextEdit>(creator_, "MemoPageKW")->toPlainText(), "alpha, beta");

  testing::Find<QPlainTextEdit>(creator_, "MemoPageText")->setPlainText("edited text");
  testing::Find<QPlainTextEdit>(creator_, "MemoPageKW")->setPlainText("edited keywords");
  testing::Find<QPlainTextEdit>(search_, "MemoKW")->setPlainText("changed on the first tab");
  EnterCreateTab();
  EXPECT_EQ(testing::Find<QPlainTextEdit>(creator_, "MemoPageText")->toPlainText(), "edited text");
  EXPECT_EQ(testing::Find<QPlainTextEdit>(creator_, "MemoPageKW")->toPlainText(), "alpha, beta");

  // The check box itself: off empties the text, on copies the first tab's text again.
  testing::Find<QCheckBox>(creator_, "cbInsertText")->click();
  ASSERT_TRUE(Idle());
  EXPECT_EQ(testing::Find<QPlainTextEdit>(creator_, "MemoPageText")->toPlainText(), "");
  testing::Find<QCheckBox>(creator_, "cbInsertText")->click();
  ASSERT_TRUE(Idle());
  EXPECT_EQ(testing::Find<QPlainTextEdit>(creator_, "MemoPageText")->toPlainText(),
            "changed on the first tab");
}

TEST_F(PageCreatorTabTest, HomePageLineByLine) {
  testing::Find<QLineEdit>(creator_, "EditPageTitle")->setText("Home");
  testing::Find<QLineEdit>(creator_, "EditPageDesc")->setText("my site");
  testing::Find<QPlainTextEdit>(creator_, "MemoPageKW")->setPlainText("alpha, beta");
  testing::Find<QPlainTextEdit>(creator_, "MemoPageText")->setPlainText("one\ntwo");
  testing::Find<QPushButton>(creator_, "ButtonPageCreate")->click();
  ASSERT_TRUE(Idle());
  const TextList lines = CodeLines();
  ASSERT_EQ(lines.size(), 23u);
  EXPECT_EQ(lines[3], "<TITLE>Home</TITLE>");
  EXPECT_EQ(lines[4], "<META name=\"keywords\" content=\"alpha, beta\">");
  EXPECT_EQ(lines[5], "<META name=\"description\" content=\"About my site\">");
  EXPECT_EQ(lines[12], "<META name=\"generator\" content=\"Brevanoth Pagelathe 1.51\">");
  EXPECT_EQ(lines[16], "<h2 align=center>Home</h2>");
  const TextList tail(lines.end() - 5, lines.end());
  EXPECT_EQ(tail, (TextList{"<br>one", "<br>two", "", "</BODY>", "</HTML>"}));
  EXPECT_TRUE(testing::Find<QPushButton>(creator_, "ButtonPageSave")->isEnabled());
  EXPECT_FALSE(testing::Find<QPushButton>(creator_, "ButtonPagePreview")->isEnabled());
}

TEST_F(PageCreatorTabTest, ReenteringTheTabWhileAPageIsMadeLetsItFinish) {
  testing::Find<QPlainTextEdit>(creator_, "MemoPageText")->setPlainText("one\ntwo");
  ASSERT_FALSE(testing::Find<QCheckBox>(creator_, "cbInsertText")->isChecked());
  testing::Find<QPushButton>(creator_, "ButtonPageCreate")->click();
  ASSERT_TRUE(creator_->Busy());
  EnterCreateTab();  // waits until the tabs are idle: the page must be made
  const TextList lines = CodeLines();
  ASSERT_EQ(lines.size(), 23u);
  EXPECT_EQ(lines[18], "<br>one");
  EXPECT_EQ(testing::Find<QPushButton>(creator_, "ButtonPageCreate")->text(), "Create");
  EXPECT_TRUE(testing::Find<QCheckBox>(creator_, "cbInsertText")->isEnabled());
}

TEST_F(PageCreatorTabTest, BodyLinesFollowTheText) {
  struct Case {
    const char* name;
    QString text;
    size_t br_lines;
  };
  const std::vector<Case> cases = {
      {"Empty", "", 0},
      {"OneLine", "only", 1},
      {"FinalLineBreakAddsNoLine", "a\nb\n", 2},
      {"EmptyLinesInside", "a\n\nb", 3},
  };
  for (const auto& c : cases) {
    testing::Find<QPlainTextEdit>(creator_, "MemoPageText")->setPlainText(c.text);
    creator_->ButtonPageCreateClick();
    ASSERT_TRUE(Idle());
    const TextList lines = CodeLines();
    const auto br = static_cast<size_t>(std::count_if(
        lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("<br>", 0) == 0; }));
    EXPECT_EQ(br, c.br_lines) << c.name;
    EXPECT_EQ(lines.size(), 21 + c.br_lines) << c.name;
  }
}

TEST_F(PageCreatorTabTest, MarkupCharactersPassUnchanged) {
  testing::Find<QLineEdit>(creator_, "EditPageTitle")->setText("A < B & C");
  testing::Find<QPlainTextEdit>(creator_, "MemoPageText")->setPlainText("x < y && z > 0 &amp;");
  testing::Find<QPushButton>(creator_, "ButtonPageCreate")->click();
  ASSERT_TRUE(Idle());
  const TextList lines = CodeLines();
  EXPECT_EQ(lines[3], "<TITLE>A < B & C</TITLE>");
  EXPECT_EQ(lines[16], "<h2 align=center>A < B & C</h2>");
  EXPECT_EQ(lines[18], "<br>x < y && z > 0 &amp;");
}

TEST_F(PageCreatorTabTest, KeywordsOnSeveralLinesStayInTheOneMetaLineWithCrLf) {
  testing::Find<QPlainTextEdit>(creator_, "MemoPageKW")->setPlainText("alpha,\nbeta");
  testing::Find<QPushButton>(creator_, "ButtonPageCreate")->click();
  ASSERT_TRUE(Idle());
  Answer(dir_ / "projects/multi.htm");
  testing::Find<QPushButton>(creator_, "ButtonPageSave")->click();
  const std::string saved = dir_.Read("projects/multi.htm");
  EXPECT_NE(saved.find("<META name=\"keywords\" content=\"alpha,\r\nbeta\">\r\n"),
            std::string::npos);
}

TEST_F(PageCreatorTabTest, SaveProposesTheOpenedNameInTheProjectsFolder) {
  testing::Find<QPushButton>(creator_, "ButtonPageCreate")->click();
  ASSERT_TRUE(Idle());
  Answer("");
  testing::Find<QPushButton>(creator_, "ButtonPageSave")
      ->click();  // nothing opened yet: an empty name; Cancel
  ASSERT_EQ(calls_.size(), 1u);
  EXPECT_EQ(calls_[0].name, "SaveDialogKW");
  EXPECT_EQ(calls_[0].initial_dir, ToQ(dir_ / "projects"));
  EXPECT_EQ(calls_[0].proposed, "");
  EXPECT_FALSE(testing::Find<QPushButton>(creator_, "ButtonPagePreview")->isEnabled());

  Answer(dir_.Write("texts/my.notes.txt", "some words"));
  testing::Find<QPushButton>(search_, "ButtonOpenFile")->click();
  ASSERT_TRUE(Idle());
  Answer("");
  testing::Find<QPushButton>(creator_, "ButtonPageSave")
      ->click();  // the name is taken when the page is created
  EXPECT_EQ(calls_.back().proposed, "");
  testing::Find<QPushButton>(creator_, "ButtonPageCreate")->click();
  ASSERT_TRUE(Idle());
  testing::Find<QPushButton>(creator_, "ButtonPageSave")->click();
  EXPECT_EQ(calls_.back().proposed, "my.notes");
}

TEST_F(PageCreatorTabTest, SaveWritesTheEditedCodeAndPreviewOpensIt) {
  testing::Find<QLineEdit>(creator_, "EditPageTitle")->setText("Home");
  testing::Find<QPushButton>(creator_, "ButtonPageCreate")->click();
  ASSERT_TRUE(Idle());
  testing::Find<QPlainTextEdit>(creator_, "MemoPageCode")
      ->setPlainText("<HTML>\nedited by hand\n</HTML>");
  const std::string target = dir_ / "projects/home.htm";
  Answer(target);
  testing::Find<QPushButton>(creator_, "ButtonPageSave")->click();
  EXPECT_EQ(dir_.Read("projects/home.htm"), "<HTML>\r\nedited by hand\r\n</HTML>\r\n");
  EXPECT_TRUE(testing::Find<QPushButton>(creator_, "ButtonPagePreview")->isEnabled());
  testing::Find<QPushButton>(creator_, "ButtonPagePreview")->click();
  ASSERT_EQ(opened_.size(), 1u);
  EXPECT_EQ(opened_[0], ToQ(target));
  EXPECT_TRUE(RecordedMessages().empty());

  // Nothing on the desktop opens the page: the user is told where it is.
  opener_works_ = false;
  testing::Find<QPushButton>(creator_, "ButtonPagePreview")->click();
  ASSERT_EQ(RecordedMessages().size(), 1u);
  EXPECT_NE(RecordedMessages()[0].text.find(std::string("\"").append(target).append("\"")),
            std::string::npos)
      << RecordedMessages()[0].text;
}

TEST_F(PageCreatorTabTest, FailedSaveShowsTheErrorAndKeepsPreviewAsItWas) {
  testing::Find<QPlainTextEdit>(creator_, "MemoPageText")->setPlainText(QString(200, 'x'));
  testing::Find<QPushButton>(creator_, "ButtonPageCreate")->click();
  ASSERT_TRUE(Idle());
  dir_.Write("projects/old.htm", "old page");
  Answer(dir_ / "projects/old.htm");
  {
    ScopedFileSizeLimit limit(16);
    EXPECT_THROW(creator_->ButtonPageSaveClick(), EFileError);
    ClickButton(testing::Find<QPushButton>(creator_, "ButtonPageSave"));
  }
  ASSERT_EQ(RecordedMessages().size(), 1u);
  EXPECT_TRUE(RecordedMessages()[0].is_error);
  EXPECT_FALSE(testing::Find<QPushButton>(creator_, "ButtonPagePreview")->isEnabled());
  EXPECT_EQ(dir_.Read("projects/old.htm"), "old page");

  // After a good save, a failed one leaves Preview on the page that was saved.
  Answer(dir_ / "projects/good.htm");
  testing::Find<QPushButton>(creator_, "ButtonPageSave")->click();
  ASSERT_TRUE(testing::Find<QPushButton>(creator_, "ButtonPagePreview")->isEnabled());
  Answer(dir_ / "projects/old.htm");
  {
    ScopedFileSizeLimit limit(16);
    EXPECT_THROW(creator_->ButtonPageSaveClick(), EFileError);
  }
  EXPECT_TRUE(testing::Find<QPushButton>(creator_, "ButtonPagePreview")->isEnabled());
  testing::Find<QPushButton>(creator_, "ButtonPagePreview")->click();
  ASSERT_EQ(opened_.size(), 1u);
  EXPECT_EQ(opened_[0], ToQ(dir_ / "projects/good.htm"));
}

}  // namespace
}  // namespace pagelathe::testing
