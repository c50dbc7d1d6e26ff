// The converter's text rules: base names, joined lines, HTML to text and the line cut.
#include "tools/converter/HtmlText.h"

#include <gtest/gtest.h>

#include <cctype>

namespace pagelathe {
namespace {

struct TextCase {
  const char* name;
  std::string input;
  std::string expected;
};

class HtmlToTextCase : public ::testing::TestWithParam<TextCase> {};

TEST_P(HtmlToTextCase, GivesTheText) {
  EXPECT_EQ(HtmlToText(GetParam().input, kSeparatorText), GetParam().expected) << GetParam().name;
}

const std::string kRuleLines = "\r\n\r\n----------\r\n";

INSTANTIATE_TEST_SUITE_P(
    Rules, HtmlToTextCase,
    ::testing::Values(
        TextCase{"break", "a<br>b", "a\r\nb"}, TextCase{"capital break", "a<BR>b", "a\r\nb"},
        TextCase{"paragraph", "a<p>b", "a\r\n\r\nb"},
        TextCase{"capital paragraph", "a<P>b", "a\r\n\r\nb"},
        TextCase{"list", "<ul><li>x<li>y</ul>", "\r\n\r\n * x\r\n * y"},
        TextCase{"ordered list", "<ol><li>x</ol>", "\r\n\r\n * x"},
        TextCase{"nbsp deleted, not a blank", "a&nbsp;&nbsp;b", "ab"},
        TextCase{"rule", "one<hr>two", "one" + kRuleLines + "two"},
        TextCase{"other break spellings are tags", "a<Br>b<br/>c<br >d", "abcd"},
        TextCase{"other rule spellings are tags", "a<HR>b<hr/>c", "abc"},
        TextCase{"paragraph with attributes is a tag", "<p align=center>a</p>", "a"},
        TextCase{"list item in capitals is a tag", "<LI>x", "x"},
        // The entity goes before the rule, so deleting it can make a rule...
        TextCase{"rule made by a deleted entity", "a<h&nbsp;r>b", "a" + kRuleLines + "b"},
        TextCase{"rule made by two deleted entities", "a<&nbsp;hr&nbsp;>b", "a" + kRuleLines + "b"},
        // ...but never a break or paragraph, whose turn has passed.
        TextCase{"paragraph made by a deleted entity stays a tag", "a<p&nbsp;>b", "ab"},
        TextCase{"break made by a deleted entity stays a tag", "a<b&nbsp;r>b", "ab"},
        // One pass per rule: what a deletion brings together is not deleted again.
        TextCase{"entity made by a deleted entity stays", "&nb&nbsp;sp;", "&nbsp;"},
        TextCase{"other entities are not decoded", "a&amp;b&lt;", "a&amp;b&lt;"},
        TextCase{"blanks collapse after tags go", "a  <b> </b>  b", "a b"},
        TextCase{"blanks around a break stay single", "a <br> b", "a \r\n b"},
        TextCase{"a lone > stays", "a > b", "a > b"},
        TextCase{"an unclosed < goes to the end", "a<b c", "a"}, TextCase{"empty", "", ""},
        TextCase{"only tags", "<html><body></body></html>", ""},
        TextCase{"high bytes pass", "\xC0\xE0<br>\xFF\x98", "\xC0\xE0\r\n\xFF\x98"},
        TextCase{"a NUL byte is an ordinary byte here", std::string("a\0<p>b", 6),
                 std::string("a\0\r\n\r\nb", 7)},
        TextCase{"patterns cut at the end", "x<b", "x"},
        TextCase{"entity cut at the end", "x&nbsp", "x&nbsp"}),
    [](const ::testing::TestParamInfo<TextCase>& info) {
      std::string name;
      for (const char* c = info.param.name; *c; ++c)
        name += std::isalnum(*c) ? *c : '_';
      return name;
    });

TEST(HtmlToText, TheSeparatorIsTheCallersAndIsNotScannedAgain) {
  EXPECT_EQ(HtmlToText("a<hr>b", "=="), "a\r\n\r\n==\r\nb");
  // A separator that looks like a rule is written once, then cleaned like any tag.
  EXPECT_EQ(HtmlToText("a<hr>b", "[<hr>]"), "a\r\n\r\n[]\r\nb");
  EXPECT_EQ(HtmlToText("a<hr>b", ""), "a\r\n\r\n\r\nb");
}

TEST(ConvertBaseName, UpToTheLastDot) {
  const std::pair<const char*, const char*> cases[] = {
      {"page.old.htm", "page.old"},
      {"index.htm", "index"},
      {"README", ""},
      {".htaccess", ""},
      {"a.", "a"},
      {"", ""},
      {"\xC4\xEE\xEC.txt", "\xC4\xEE\xEC"},
  };
  for (const auto& [name, base] : cases)
    EXPECT_EQ(ConvertBaseName(name), base) << name;
}

TEST(JoinedText, LinesJoinWithNothingBetween) {
  const std::pair<std::string, std::string> cases[] = {
      {"one\r\ntwo\r\n", "onetwo"},
      {"a\rb\nc", "abc"},
      {"a\n\n\nb", "ab"},
      {"\r\n", ""},
      {"", ""},
      {std::string("a\r\nb\0c\r\nd", 9), "ab"},  // a NUL ends the text
      {"  x  \r\n  y", "  x    y"},
  };
  for (const auto& [bytes, joined] : cases)
    EXPECT_EQ(JoinedText(bytes), joined) << bytes;
}

TEST(CutToWidth, PiecesOfTheWidth) {
  const std::string text25 = "abcdefghijklmnopqrstuvwxy";
  struct Case {
    std::string text;
    int width;
    TextList lines;
  };
  const Case cases[] = {
      {text25, 10, {"abcdefghij", "klmnopqrst", "uvwxy"}},
      {"abcdefg", 10, {"abcdefg"}},
      {"", 10, {""}},
      {"abcdefghij", 10, {"abcdefghij"}},
      {"abcdefghijklmnopqrst", 10, {"abcdefghij", "klmnopqrst"}},
      {"abc", 1, {"a", "b", "c"}},
      {"a b  c", 2, {"a ", "b ", " c"}},  // no regard to words or blanks
      {text25, 0, {text25}},
      {text25, -3, {text25}},
      {"", 0, {""}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CutToWidth(c.text, c.width), c.lines) << c.text;
}

}  // namespace
}  // namespace pagelathe
