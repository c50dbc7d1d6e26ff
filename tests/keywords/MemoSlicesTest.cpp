// Memos read and filled in slices: the lines they give and take must be exactly those of the
// memo read or filled at once, however the slices fall.
#include "tools/keywords/MemoSlices.h"

#include <gtest/gtest.h>
#include <QPlainTextEdit>

#include "support/GuiTest.h"
#include "tools/keywords/MemoLines.h"
#include "ui/QtText.h"

namespace pagelathe {
namespace {

using testing::WaitFor;

QStringList BlocksOf(const QPlainTextEdit& memo) {
  QStringList blocks;
  for (QTextBlock block = memo.document()->begin(); block.isValid(); block = block.next())
    blocks << block.text();
  return blocks;
}

TEST(MemoDisplayLines, LineBreaksInsideALineShowAsMemoLines) {
  struct Case {
    TextList lines;
    QStringList shown;
  };
  const Case cases[] = {
      {{}, {}},
      {{""}, {""}},
      {{"a", "b\r\nc"}, {"a", "b", "c"}},
      {{"d\re", "f\ng", "h\r\n"}, {"d", "e", "f", "g", "h", ""}},
      {{"\r\r"}, {"", "", ""}},
      {{"Дом \u00A0日本"}, {QString::fromUtf8("Дом \u00A0日本")}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MemoDisplayLines(c.lines), c.shown) << c.lines.size();
}

// Texts with what a memo's plain text treats specially: final and empty lines, a non-breaking
// space (read back as a blank), a line separator, tabs and Cyrillic.
const QString kTexts[] = {
    "",
    "a",
    "a\n",
    "a\n\nb",
    "\n\n",
    QString::fromUtf8("x\u00A0y z"),
    QString::fromUtf8("one\u2028two"),
    "tab\there",
    QString::fromUtf8("Привет, мир"),
    // Fills of several insertions: many lines, empty ones among them and at the end, and
    // one line longer than an insertion.
    [] {
      QString text;
      for (int i = 0; i < 20000; ++i)
        text += i % 7 == 0 ? QString("\n") : QString::number(i) + QString(" words\n");
      return text;
    }(),
    QString(100000, 'w') + "\n\nend",
};

TEST(LinesOfBlocks, ReadsAsTheMemoReadsItself) {
  QPlainTextEdit memo;
  for (const QString& text : kTexts) {
    memo.setPlainText(text);
    EXPECT_EQ(LinesOfBlocks(BlocksOf(memo)), MemoLines(&memo)) << text.left(40).toStdString();
  }
}

TEST(MemoSlices, ReadGivesTheBlocksAndFillGivesWhatATextSetAtOnceGives) {
  QPlainTextEdit memo;
  QPlainTextEdit reference;
  MemoSlices slices;
  for (const QString& text : kTexts) {
    SCOPED_TRACE(text.left(40).toStdString());
    memo.setPlainText(text);
    bool read = false;
    QStringList blocks;
    slices.Read(&memo, [&](QStringList got) {
      blocks = std::move(got);
      read = true;
    });
    ASSERT_TRUE(WaitFor([&] { return read; }));
    EXPECT_EQ(blocks, BlocksOf(memo));

    const TextList lines = MemoLines(&memo);
    SetMemoLines(&reference, lines);
    memo.setPlainText("old text\nto be replaced");
    bool filled = false;
    slices.Fill(&memo, MemoDisplayLines(lines), [&] { filled = true; });
    ASSERT_TRUE(WaitFor([&] { return filled; }));
    EXPECT_EQ(memo.toPlainText(), reference.toPlainText());
    EXPECT_EQ(memo.textCursor().position(), 0);
    EXPECT_FALSE(memo.document()->isUndoAvailable());
    EXPECT_FALSE(slices.Running());
  }
}

TEST(MemoSlices, AReadSeesTheMemoAsItStandsAtTheEnd) {
  QPlainTextEdit memo;
  QStringList lines;
  for (int i = 0; i < 200000; ++i)
    lines << QString("line %1").arg(i);
  memo.setPlainText(lines.join('\n'));
  MemoSlices slices;
  bool changed = false;
  // Whenever a slice ends before the read does, the text changes under it.
  QObject::connect(&slices, &MemoSlices::Progress, &memo, [&] {
    if (changed) return;
    changed = true;
    memo.setPlainText("changed\nunder the read");
  });
  bool read = false;
  QStringList blocks;
  slices.Read(&memo, [&](QStringList got) {
    blocks = std::move(got);
    read = true;
  });
  ASSERT_TRUE(WaitFor([&] { return read; }, 60000));
  EXPECT_EQ(blocks, BlocksOf(memo));
}

TEST(MemoSlices, AStoppedFillKeepsAPrefixAndCallsNothing) {
  QPlainTextEdit memo;
  QStringList lines;
  for (int i = 0; i < 200000; ++i)
    lines << QString("line %1").arg(i);
  MemoSlices slices;
  bool done = false;
  bool stopped = false;
  QObject::connect(&slices, &MemoSlices::Progress, &memo, [&] {
    if (stopped) return;
    stopped = true;
    slices.Stop();
  });
  slices.Fill(&memo, lines, [&] { done = true; });
  ASSERT_TRUE(WaitFor([&] { return done || stopped; }, 60000));
  const QStringList shown = BlocksOf(memo);
  ASSERT_LE(shown.size(), lines.size());
  EXPECT_EQ(shown, lines.mid(0, shown.size()));
  if (stopped) {
    EXPECT_FALSE(done);
    EXPECT_FALSE(slices.Running());
    EXPECT_TRUE(memo.document()->isUndoRedoEnabled());
  }
}

}  // namespace
}  // namespace pagelathe
