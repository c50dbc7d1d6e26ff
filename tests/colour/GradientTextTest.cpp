// The gradient text generator: colour steps, HTML lines and the places of the preview.
#include "tools/colour/GradientText.h"

#include <gtest/gtest.h>

namespace pagelathe {
namespace {

constexpr RgbColor kRed{255, 0, 0};
constexpr RgbColor kGreen{0, 255, 0};
constexpr RgbColor kBlue{0, 0, 255};
constexpr RgbColor kBlack{0, 0, 0};
constexpr RgbColor kWhite{255, 255, 255};

std::vector<int> RedRun(const RgbColor& start, const RgbColor& end, int length) {
  std::vector<int> parts;
  for (int i = 1; i <= length; ++i)
    parts.push_back(GradientColorAt(start, end, length, i).Red);
  return parts;
}

TEST(GradientColorAt, StepsTruncateTowardTheStart) {
  struct Case {
    RgbColor start;
    RgbColor end;
    int length;
    std::vector<int> reds;
  };
  const Case cases[] = {
      {kBlack, kWhite, 3, {0, 127, 255}},
      {kWhite, kBlack, 3, {255, 128, 0}},
      {kBlack, kWhite, 2, {0, 255}},
      {kBlack, {10, 0, 0}, 4, {0, 3, 6, 10}},
      {{10, 0, 0}, kBlack, 4, {10, 7, 4, 0}},
      {{100, 0, 0}, {100, 0, 0}, 5, {100, 100, 100, 100, 100}},
      {kBlack, kWhite, 6, {0, 51, 102, 153, 204, 255}},
      {{7, 0, 0}, {8, 0, 0}, 4, {7, 7, 7, 8}},
      {{8, 0, 0}, {7, 0, 0}, 4, {8, 8, 8, 7}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RedRun(c.start, c.end, c.length), c.reds)
        << c.start.Red << " to " << c.end.Red << " over " << c.length;
  }
}

TEST(GradientColorAt, AllThreePartsFollowTheSameRule) {
  const RgbColor start{255, 0, 100};
  const RgbColor end{0, 255, 101};
  EXPECT_EQ(GradientColorAt(start, end, 3, 1), start);
  EXPECT_EQ(GradientColorAt(start, end, 3, 2), (RgbColor{128, 127, 100}));
  EXPECT_EQ(GradientColorAt(start, end, 3, 3), end);
}

TEST(GradientColorAt, FirstAndLastCharacterGetTheExactEndsAtAnyLength) {
  const RgbColor start{13, 200, 77};
  const RgbColor end{250, 1, 78};
  for (int length : {2, 3, 7, 13, 100, 1000, 100000}) {
    EXPECT_EQ(GradientColorAt(start, end, length, 1), start) << length;
    EXPECT_EQ(GradientColorAt(start, end, length, length), end) << length;
  }
}

TEST(GradientColorAt, NoStepBelowTwoCharacters) {
  EXPECT_EQ(GradientColorAt(kRed, kBlue, 1, 1), kRed);
  EXPECT_EQ(GradientColorAt(kRed, kBlue, 0, 1), kRed);
}

TEST(BuildGradientText, TwoCharactersRedToBlue) {
  const GradientResult result = BuildGradientText("AB", kRed, kBlue, "Arial", 3);
  const TextList expected = {
      "<p align=center><font face=\"Arial\" size=\"3\">",
      "<font color=\"#FF0000\">A</font>",
      "<font color=\"#0000FF\">B</font>",
      "</font>",
  };
  EXPECT_EQ(result.Lines, expected);
}

TEST(BuildGradientText, LineShapes) {
  struct Case {
    const char* text;
    RgbColor start;
    RgbColor end;
    const char* face;
    int size;
    TextList lines;
  };
  const Case cases[] = {
      {"a b",
       kBlack,
       kWhite,
       "Verdana",
       2,
       {"<p align=center><font face=\"Verdana\" size=\"2\">", "<font color=\"#000000\">a</font>",
        "&nbsp;", "<font color=\"#FFFFFF\">b</font>", "</font>"}},
      // Equal ends: one code for every character.
      {"xyz",
       kGreen,
       kGreen,
       "",
       6,
       {"<p align=center><font face=\"\" size=\"6\">", "<font color=\"#00FF00\">x</font>",
        "<font color=\"#00FF00\">y</font>", "<font color=\"#00FF00\">z</font>", "</font>"}},
      // Nothing is escaped; sizes go in as they are, zero and negative included.
      {"<&",
       kRed,
       kBlue,
       "A \"B\"",
       -5,
       {"<p align=center><font face=\"A \"B\"\" size=\"-5\">", "<font color=\"#FF0000\"><</font>",
        "<font color=\"#0000FF\">&</font>", "</font>"}},
      {"  ",
       kRed,
       kBlue,
       "F",
       0,
       {"<p align=center><font face=\"F\" size=\"0\">", "&nbsp;", "&nbsp;", "</font>"}},
      // Only the blank is a blank: a tab and a no-break space are characters.
      {"\t\u00A0",
       kRed,
       kBlue,
       "F",
       1,
       {"<p align=center><font face=\"F\" size=\"1\">", "<font color=\"#FF0000\">\t</font>",
        "<font color=\"#0000FF\">\u00A0</font>", "</font>"}},
      {"", kRed, kBlue, "F", 4, {"<p align=center><font face=\"F\" size=\"4\">", "</font>"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BuildGradientText(c.text, c.start, c.end, c.face, c.size).Lines, c.lines)
        << "'" << c.text << "'";
  }
}

TEST(BuildGradientText, OneCharacterGivesNothing) {
  const GradientResult result = BuildGradientText("A", kRed, kBlue, "Arial", 3);
  EXPECT_TRUE(result.Lines.empty());
  EXPECT_TRUE(result.Glyphs.empty());
}

TEST(BuildGradientText, DefaultInputsGiveFifteenLines) {
  const GradientResult result = BuildGradientText("Gradient Text", kGreen, kBlue, "Arial", 6);
  ASSERT_EQ(result.Lines.size(), 15u);
  EXPECT_EQ(result.Lines[1], "<font color=\"#00FF00\">G</font>");
  EXPECT_EQ(result.Lines[9], "&nbsp;");
  EXPECT_EQ(result.Lines[13], "<font color=\"#0000FF\">t</font>");
  EXPECT_EQ(result.Lines[14], "</font>");
}

TEST(BuildGradientText, GlyphsCarryPlaceAndColourOfEveryCharacterBlanksIncluded) {
  // One glyph a character, whatever its script; a decomposed "ä" is one character.
  const GradientResult result = BuildGradientText("a\u0308 日", kWhite, kBlack, "F", 6);
  EXPECT_EQ(result.PreviewPointSize, 12);
  ASSERT_EQ(result.Glyphs.size(), 3u);
  const struct {
    std::string character;
    long long left;
    RgbColor color;
  } expected[] = {{"ä", 22, kWhite}, {" ", 34, {128, 128, 128}}, {"日", 46, kBlack}};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(result.Glyphs[i].Character, expected[i].character) << i;
    EXPECT_EQ(result.Glyphs[i].Left, expected[i].left) << i;
    EXPECT_EQ(result.Glyphs[i].Top, 10) << i;
    EXPECT_EQ(result.Glyphs[i].Color, expected[i].color) << i;
  }
}

TEST(BuildGradientText, PlacesFollowTheFontSize) {
  const struct {
    int size;
    long long second_left;
    int point_size;
  } cases[] = {{3, 22, 6}, {1, 14, 2}, {99, 406, 198}, {0, 10, 0}, {-4, -6, -8}};
  for (const auto& c : cases) {
    const GradientResult result = BuildGradientText("xy", kRed, kBlue, "F", c.size);
    ASSERT_EQ(result.Glyphs.size(), 2u);
    EXPECT_EQ(result.Glyphs[1].Left, c.second_left) << c.size;
    EXPECT_EQ(result.PreviewPointSize, c.point_size) << c.size;
  }
}

TEST(BuildGradientText, LongTextGivesOneLinePerCharacter) {
  const std::string text(200000, 'x');
  const GradientResult result = BuildGradientText(text, kBlack, kWhite, "F", 99);
  ASSERT_EQ(result.Lines.size(), text.size() + 2);
  ASSERT_EQ(result.Glyphs.size(), text.size());
  EXPECT_EQ(result.Lines[1], "<font color=\"#000000\">x</font>");
  EXPECT_EQ(result.Lines[text.size()], "<font color=\"#FFFFFF\">x</font>");
  EXPECT_EQ(result.Glyphs.back().Left, 2LL * 99 * 200000 + 10);
}

}  // namespace
}  // namespace pagelathe
