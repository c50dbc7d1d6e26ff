// The Exclusions editor: a live view of the exclusion list that only Ok writes to the file.
#include <gtest/gtest.h>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include "LanguageFixture.h"
#include "app/FormExclusions.h"
#include "app/TForm1.h"
#include "support/GuiTest.h"
#include "ui/PageContext.h"
#include "ui/QtText.h"

namespace pagelathe::testing {
namespace {

TEST(FormExclusions, MemoEditsChangeTheListAtOnce) {
  const struct {
    const char* what;
    QString memo;
    TextList lines;
  } cases[] = {
      {"empty memo", "", {}},
      {"one line", "a", {"a"}},
      {"final line break adds no line", "a\n", {"a"}},
      {"blank last line kept", "a\n\n", {"a", ""}},
      {"blank line alone", "\n", {""}},
      {"blank lines inside kept", "a\n\nb", {"a", "", "b"}},
      {"no trimming", "  a \n\tb ", {"  a ", "\tb "}},
      {"Cyrillic and no-break space",
       QString::fromUtf8("\xD0\xB6\xC2\xA0x"),
       {"\xD0\xB6\xC2\xA0x"}},
      {"every script",
       QString::fromUtf8("Gr\xC3\xB6\xC3\x9F"
                         "e \xE6\x97\xA5"),
       {"Gr\xC3\xB6\xC3\x9F"
        "e \xE6\x97\xA5"}},
  };
  TempFolder dir;
  WriteSettings(dir);
  TForm1 form(dir.Path());
  for (const auto& c : cases) {
    form.FormExclusions()->MemoExclusions->setPlainText(c.memo);
    EXPECT_EQ(form.Context().ExclusionLines(), c.lines) << c.what;
  }
}

TEST(FormExclusions, ShowsTheLoadedListAndGivesItBackUnchanged) {
  const std::string files[] = {
      "",
      "one\r\n",
      "one\r\n\r\n",
      " spaced \r\n\r\nlast\r\n",
      "\xEF\xF0\xE8\xE2\xE5\xF2\xA0\r\nx\r\n",
  };
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    TempFolder dir;
    WriteSettings(dir);
    dir.Write("exclusions.dat", file);
    TForm1 form(dir.Path());
    const TextList loaded = form.Context().ExclusionLines();
    // Typing a character and taking it back keeps the list as it was.
    QPlainTextEdit* memo = form.FormExclusions()->MemoExclusions;
    QTextCursor cursor = memo->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText("x");
    EXPECT_NE(form.Context().ExclusionLines(), loaded);
    cursor.deletePreviousChar();
    EXPECT_EQ(form.Context().ExclusionLines(), loaded);
    form.FormExclusions()->show();
    form.FormExclusions()->ButtonOk->click();
    EXPECT_EQ(dir.Read("exclusions.dat"), file);
  }
}

TEST(FormExclusions, OkSavesInMemoOrderAndCloses) {
  const struct {
    const char* what;
    std::string old;
    QString memo;
    std::string file;
  } cases[] = {
      {"empty memo gives an empty file", "old\r\n", "", ""},
      {"order and blanks kept", "old\r\n", "zeta\n alpha \n\nbeta",
       "zeta\r\n alpha \r\n\r\nbeta\r\n"},
      {"Cyrillic in a UTF-8 file", "old\r\n", QString::fromUtf8("\xD1\x8F"), "\xD1\x8F\r\n"},
      // A hand-kept Windows-1251 list stays so while its characters have bytes there.
      {"Cyrillic in a Windows-1251 file", "\xF1\xF2\xE0\xF0\r\n", QString::fromUtf8("\xD1\x8F"),
       "\xFF\r\n"},
      {"a Windows-1251 file taking Japanese becomes UTF-8", "\xF1\xF2\xE0\xF0\r\n",
       QString::fromUtf8("\xD1\x8F \xE6\x97\xA5"), "\xD1\x8F \xE6\x97\xA5\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder dir;
    WriteSettings(dir);
    dir.Write("exclusions.dat", c.old);
    TForm1 form(dir.Path());
    form.FormExclusions()->show();
    form.FormExclusions()->MemoExclusions->setPlainText(c.memo);
    form.FormExclusions()->ButtonOk->click();
    EXPECT_EQ(dir.Read("exclusions.dat"), c.file);
    EXPECT_EQ(dir.Read("exclusions.dat").size(), c.file.size());
    EXPECT_FALSE(form.FormExclusions()->isVisible());
  }
}

TEST(FormExclusions, TitleBarCloseKeepsEditsForThisRunOnly) {
  TempFolder dir;
  WriteSettings(dir);
  dir.Write("exclusions.dat", "old1\r\nold2\r\n");
  {
    TForm1 form(dir.Path());
    WhenShown(form.FormExclusions(), [&] {
      form.FormExclusions()->MemoExclusions->setPlainText("new\n");
      form.FormExclusions()->close();
    });
    form.MExclusionsClick();
    EXPECT_EQ(form.Context().ExclusionLines(), TextList{"new"});
    EXPECT_EQ(dir.Read("exclusions.dat"), "old1\r\nold2\r\n");
  }
  TForm1 restarted(dir.Path());
  EXPECT_EQ(restarted.Context().ExclusionLines(), (TextList{"old1", "old2"}));
  EXPECT_EQ(restarted.FormExclusions()->MemoExclusions->toPlainText(), "old1\nold2\n");
}

TEST(FormExclusions, FailedSaveShowsTheErrorAndLosesNothing) {
  TempFolder dir;
  WriteSettings(dir);
  const std::string old = "keep me\r\n";
  dir.Write("exclusions.dat", old);
  TForm1 form(dir.Path());
  form.FormExclusions()->show();
  form.FormExclusions()->MemoExclusions->setPlainText("a much longer list\nthan the old one\n");
  RecordedMessages().clear();
  {
    ScopedFileSizeLimit limit(4);
    form.FormExclusions()->ButtonOk->click();
  }
  ASSERT_EQ(RecordedMessages().size(), 1u);
  EXPECT_TRUE(RecordedMessages()[0].is_error);
  EXPECT_NE(RecordedMessages()[0].text.find("exclusions.dat"), std::string::npos)
      << RecordedMessages()[0].text;
  EXPECT_TRUE(form.FormExclusions()->isVisible());
  EXPECT_EQ(dir.Read("exclusions.dat"), old);
  EXPECT_EQ(form.Context().ExclusionLines(), (TextList{"a much longer list", "than the old one"}));
  // Once the disk lets it, Ok saves the same edits.
  form.FormExclusions()->ButtonOk->click();
  EXPECT_EQ(dir.Read("exclusions.dat"), "a much longer list\r\nthan the old one\r\n");
  EXPECT_FALSE(form.FormExclusions()->isVisible());
  form.FormExclusions()->hide();
}

TEST(FormExclusions, HasTheFixedClientArea) {
  TempFolder dir;
  WriteSettings(dir);
  TForm1 form(dir.Path());
  EXPECT_EQ(form.FormExclusions()->size(), QSize(353, 249));
  EXPECT_EQ(form.FormExclusions()->minimumSize(), form.FormExclusions()->maximumSize());
  EXPECT_EQ(form.FormExclusions()->windowTitle(), "Exclusions");
}

}  // namespace
}  // namespace pagelathe::testing
