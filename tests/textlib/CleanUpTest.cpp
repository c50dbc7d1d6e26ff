// Control characters, letter case, abbreviation, keyboard layouts, entities, digit tests and
// text likeness.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Letters.h"
#include "platform/Win1251.h"
#include "textlib/Dizerezez.h"

namespace pagelathe {
namespace {

using namespace std::string_literals;

struct Case {
  std::string in, out;
};

// "привет" and "Привет" in Windows-1251.
const std::string kPrivet = "привет";
const std::string kPrivetCapital = "Привет";

TEST(DeleteSpam, BothVariantsDropExactlyTheControlCodes) {
  const std::vector<Case> cases = {
      {"a\r\nb\tc", "abc"}, {std::string(Spam) + "x", "x"},
      {"\x7FЂя", "\x7FЂя"},  // DEL and high bytes are not control codes
      {"a\0b"s, "ab"},      {"", ""},
      {" \x1F ", "  "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DeleteSpam(c.in), c.out);
    EXPECT_EQ(DeleteSpamA(c.in), c.out);
  }
  for (int i = 0; i < 256; ++i) {
    const std::string one(1, static_cast<char>(i));
    EXPECT_EQ(DeleteSpam(one).empty(), i < 32) << i;
    EXPECT_EQ(DeleteSpamA(one), DeleteSpam(one)) << i;
  }
}

TEST(LargeLtterStr, OnePositionOrNothing) {
  struct PosCase {
    std::string in;
    int n;
    std::string out;
  };
  const std::vector<PosCase> cases = {
      {"abc", 1, "Abc"}, {"abc", 3, "abC"}, {"abc", 0, ""},  {"abc", 4, ""}, {"abc", -1, ""},
      {"", 1, ""},       {"1a", 1, "1a"},   {"аб", 2, "аБ"}, {"ё", 1, "Ё"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LargeLtterStr(c.in, c.n), c.out) << c.in << " " << c.n;
}

TEST(LargeStr, FirstCharacterAndEveryOneAfterABlank) {
  const std::vector<Case> cases = {
      {"hello  world", "Hello  World"},
      {"", ""},
      {" a", " A"},
      {"a\tb", "A\tb"},  // only a blank starts a word
      {"ALL caps", "ALL Caps"},
      {kPrivet + " мир", kPrivetCapital + " Мир"},
      {"x-ray y.z", "X-ray Y.z"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LargeStr(c.in), c.out) << c.in;
}

TEST(AbbrevStr, FirstLettersUpperCased) {
  const std::vector<Case> cases = {
      {"portable network graphics", "PNG"},
      {"  portable   network  graphics \t\r\n", "PNG"},
      {"", ""},
      {"   ", ""},
      {"\t\r\n", ""},
      {"a", "A"},
      {"a\tb c", "AC"},  // a tab does not part words
      {"мир труд май", "МТМ"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(AbbrevStr(c.in), c.out) << c.in;
}

TEST(SrtTotrS, Reversed) {
  const std::vector<Case> cases = {{"abc", "cba"}, {"", ""}, {"a", "a"}, {"\0я"s, "я\0"s}};
  for (const auto& c : cases)
    EXPECT_EQ(SrtTotrS(c.in), c.out);
}

TEST(KeyboardLayouts, KeysPairBothWays) {
  const std::vector<Case> eng_to_rus = {
      {"ghbdtn", kPrivet},
      {"Ghbdtn", kPrivetCapital},
      {"q[;',.`", "йхжэбюё"},
      {"\"~>Q", "ЭЁЮЙ"},
      {"ghbdtn, vbh!", kPrivet + "б мир!"},  // the comma is the key of б
      {"1 2-=", "1 2-="},                    // keys outside both tables stay
      {"", ""},
  };
  for (const auto& c : eng_to_rus) {
    EXPECT_EQ(EngToRus(c.in), c.out) << c.in;
    EXPECT_EQ(RusToEng(c.out), c.in) << c.in;
  }
  EXPECT_EQ(RusToEng("привет world"), "ghbdtn world");
}

TEST(KeyboardLayouts, RoundTripOfEveryCharacterOutsideTheCyrillicLayout) {
  // ASCII and the Windows-1251 repertoire, in UTF-8.
  for (int i = 1; i < 256; ++i) {
    const std::string one = Win1251ToUtf8(std::string(1, static_cast<char>(i)));
    if (RusLet.find(one) != std::string_view::npos) continue;
    EXPECT_EQ(RusToEng(EngToRus(one)), one) << i;
    EXPECT_EQ(EngToRus(one) != one, EngLet.find(one) != std::string_view::npos) << i;
  }
  EXPECT_EQ(EngLet.size(), 66u);
  EXPECT_EQ(CharLength(RusLet), 66u);
}

TEST(ChangeHSym, EntitiesInTableOrder) {
  const std::vector<Case> cases = {
      {"&amp;lt;", "<"},  // "&amp;" is decoded before "&lt;"
      {"&nbsp;&amp;&lt;&gt;&quot;", " &<>\""},
      {"&AMP; &Lt;", "&AMP; &Lt;"},  // case-sensitive
      {"&amp;amp;", "&amp;"},        // one row is replaced once, not again
      {"&amp;nbsp;", "&nbsp;"},      // the blank row came first
      {"&amp;quot;", "\""},
      {"a &lt b", "a &lt b"},
      {"&&lt;;", "&<;"},
      {"", ""},
      {"x&nbsp;&nbsp;y", "x  y"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ChangeHSym(c.in), c.out) << c.in;
}

TEST(ChangeTSym, EscapesAndPairsOfBlanks) {
  const std::vector<Case> cases = {
      {"a & b", "a &amp; b"},
      {"<p>", "&lt;p&gt;"},
      {"  ", " &nbsp;"},
      {"   ", " &nbsp; "},
      {"    ", " &nbsp; &nbsp;"},
      {"\"q\"", "\"q\""},  // double quotes are not escaped
      {"a b", "a b"},
      {"&nbsp;", "&amp;nbsp;"},
      {"", ""},
      {"a\t\tb", "a\t\tb"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ChangeTSym(c.in), c.out) << c.in;
}

TEST(ChangeTSym, DecodingGivesBackATextWithoutAmpersands) {
  const std::vector<std::string> texts = {"a  <b>   c\"d", "     ", "x > y < z", "а  я"};
  for (const auto& t : texts)
    EXPECT_EQ(ChangeHSym(ChangeTSym(t)), t) << t;
}

TEST(ToLetInteger, EveryCharacterADigit) {
  std::string long_digits(300, '7');
  std::string late_letter = long_digits;
  late_letter[289] = 'x';
  const std::string digits_then_letter = std::string(256, '1') + "a";
  struct BoolCase {
    std::string in;
    bool digits;
  };
  const std::vector<BoolCase> cases = {
      {"", true},
      {"-1", false},
      {"0123456789", true},
      {"12 3", false},
      {"1.5", false},
      {"+1", false},
      {"№", false},
      {"1\0"s, false},
      {long_digits, true},
      {late_letter, false},
      {digits_then_letter, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ToLetInteger(c.in), c.digits) << c.in.substr(0, 20);
}

TEST(SimStrPro, SamePositionsTimesIntegerStep) {
  struct IntCase {
    std::string a, b;
    int result;
  };
  const std::vector<IntCase> cases = {
      {"abc", "abc", 99},
      {"abcdefg", "abcdefg", 98},
      {"abc", "abd", 66},
      {"abc", "ab", 66},  // past the end of b counts as different
      {"abc", "xbcdef", 66},
      {"", "x", 0},
      {"", "", 0},
      {"a", "", 0},
      {"a", "a", 100},
      {"ab", "ba", 0},
      {std::string(100, 'q'), std::string(100, 'q'), 100},
      {std::string(101, 'q'), std::string(101, 'q'), 0},  // 100 / 101 is 0
  };
  for (const auto& c : cases)
    EXPECT_EQ(SimStrPro(c.a, c.b), c.result) << c.a << " " << c.b;
}

}  // namespace
}  // namespace pagelathe
