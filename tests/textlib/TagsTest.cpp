// Tag removal and copying, and the blank rules that the converter and the keyword search use.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "textlib/Dizerezez.h"

namespace pagelathe {
namespace {

using namespace std::string_literals;

struct TagCase {
  std::string in, out;
};

TEST(DeleteTag, TagsGoTextStays) {
  const std::vector<TagCase> cases = {
      {"a <b>bold</b> c", "a bold c"},
      {"no tags at all", "no tags at all"},
      {"", ""},
      {"<p>", ""},
      {"x<br>y", "xy"},                                      // words on both sides join
      {"line one<br>\r\nline two", "line one\r\nline two"},  // line breaks stay
      {"a > b <i>c</i>", "a > b c"},                         // ">" without "<" stays
      {">>a<>b", ">>ab"},
      {"<a<b>c>d", "c>d"},             // the first ">" closes the tag
      {"<!-- x > y -->z", " y -->z"},  // a comment is cut at its first ">"
      {"keep<unclosed tag", "keep"},   // an unclosed tag runs to the end
      {"a<b>c<", "ac"},
      {"<", ""},
      {"\xCF\xF0\xE8<b>\xE2\xE5\xF2</b>", "\xCF\xF0\xE8\xE2\xE5\xF2"},
      {"a\0<b\0>c"s, "a\0c"s},  // NUL bytes are ordinary characters
  };
  for (const auto& c : cases)
    EXPECT_EQ(DeleteTag(c.in), c.out) << c.in;
}

TEST(CopyTag, OnlyTagsInOrder) {
  const std::vector<TagCase> cases = {
      {"a <b>bold</b> c", "<b></b>"},
      {"no tags", ""},
      {"", ""},
      {"x > y <a href=1>link</a>", "<a href=1></a>"},
      {"<a<b>c>d", "<a<b>"},
      {"text<unclosed", "<unclosed"},  // an unclosed tag is copied to the end
      {"<p>t<", "<p><"},
      {"\xE0<\xE1>\xE2", "<\xE1>"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CopyTag(c.in), c.out) << c.in;
}

TEST(DeleteTag, TagsAndTextTogetherMakeTheInput) {
  // Whatever the input, the tags and the text between them interleave to the input again
  // when every tag is closed.
  const std::vector<std::string> inputs = {"<a>b<c>d", "x<y>z", "<<>>", "a>b<c>"};
  for (const auto& in : inputs) {
    EXPECT_EQ(DeleteTag(in).size() + CopyTag(in).size(), in.size()) << in;
  }
}

TEST(DelDoubBlank, RunsOfBlanksBecomeOne) {
  const std::vector<TagCase> cases = {
      {"     ", " "},
      {" \t ", " \t "},  // a tab between blanks is not a blank
      {"a  b   c", "a b c"},
      {"  lead and trail  ", " lead and trail "},
      {"", ""},
      {"x", "x"},
      {"a\r\n\r\n  b", "a\r\n\r\n b"},
      {"\xA0\xA0", "\xA0\xA0"},  // no-break space is not a blank
      {"one two", "one two"},
      {"a \0  b"s, "a \0 b"s},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DelDoubBlank(c.in), c.out) << c.in;
}

TEST(DeleteBlank, EveryBlankGoes) {
  const std::vector<TagCase> cases = {
      {" a b  c ", "abc"}, {"", ""}, {"   ", ""}, {"a\tb", "a\tb"}, {"\xE0 \xE1", "\xE0\xE1"}};
  for (const auto& c : cases)
    EXPECT_EQ(DeleteBlank(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace pagelathe
