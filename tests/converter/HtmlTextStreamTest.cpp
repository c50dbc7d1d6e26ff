// The converter fed in pieces against the whole document in one: JoinedText, then HtmlToText;
// cut into pieces at every place a pattern can straddle.
#include "tools/converter/HtmlTextStream.h"

#include <gtest/gtest.h>

#include <random>

#include "tools/converter/HtmlText.h"

namespace pagelathe {
namespace {

// The text of a file of these bytes, converted whole.
std::string WholeDocument(std::string_view bytes) {
  return HtmlToText(JoinedText(bytes), kSeparatorText);
}

// The stream's output with the bytes cut before each of `cuts` (ascending offsets).
std::string Streamed(std::string_view bytes, const std::vector<size_t>& cuts) {
  HtmlTextStream stream(kSeparatorText);
  std::string out;
  size_t from = 0;
  for (const size_t cut : cuts) {
    stream.Feed(bytes.substr(from, cut - from), out);
    from = cut;
  }
  stream.Feed(bytes.substr(from), out);
  stream.Finish(out);
  return out;
}

TEST(HtmlTextStream, EqualsTheWholeDocumentCutAnywhere) {
  // Each holds a pattern that a cut can split, or a near miss of one.
  const std::string cases[] = {
      "",
      "   ",
      "a<br>b",
      "a<BR>b<P>c<p>d",
      "<ul><li>x<li>y</ul><ol>z",
      "a&nbsp;&nbsp;b &nbsp c&nbs;d",
      "one<hr>two",
      "a<h&nbsp;r>b",
      "a<hr&nbsp;>b<&nbsp;hr>c",
      "<<hr>><hr<hr>",
      "x<hr\r\n>y<b\nr>z",
      "line one\r\nline two\rline three\n<br>",
      "a  \r\n  b<b>  </b>  c",
      "<p align=center>a</p><Br>b<br/>c",
      "text <unclosed tag",
      "a>b>c< d",
      std::string("before\0<br>after", 16),
      "&&nbsp;nbsp;&&amp;<<p>p>",
  };
  for (const std::string& bytes : cases) {
    const std::string expected = WholeDocument(bytes);
    EXPECT_EQ(Streamed(bytes, {}), expected) << bytes;
    for (size_t cut = 0; cut <= bytes.size(); ++cut)
      EXPECT_EQ(Streamed(bytes, {cut}), expected) << bytes << " cut at " << cut;
    std::vector<size_t> every;
    for (size_t cut = 1; cut < bytes.size(); ++cut)
      every.push_back(cut);
    EXPECT_EQ(Streamed(bytes, every), expected) << bytes << " byte by byte";
  }
}

TEST(HtmlTextStream, EqualsTheWholeDocumentOnRandomMarkup) {
  // Random documents made of the pieces of every rule, blanks, line breaks and long runs of
  // plain text (which the block paths copy), cut at random places.
  const char* const pieces[] = {
      "<p>",  "<P>",    "<br>", "<BR>", "<ol>",  "<ul>",     "<li>",
      "<hr>", "&nbsp;", "<",    ">",    "&",     "h",        "r",
      " ",    "  ",     "\r\n", "\r",   "\n",    "<b>",      "</p>",
      "nbsp", "<h",     "r>",   "a",    "word ", "\xC0\xFF", "0123456789abcdefghij"};
  std::mt19937 random(20240);
  for (int round = 0; round < 400; ++round) {
    std::string bytes;
    const int count = static_cast<int>(random() % 200);
    for (int i = 0; i < count; ++i)
      bytes += pieces[random() % std::size(pieces)];
    std::vector<size_t> cuts;
    for (size_t at = 0; at < bytes.size(); at += 1 + random() % 40)
      cuts.push_back(at);
    ASSERT_EQ(Streamed(bytes, cuts), WholeDocument(bytes)) << bytes;
  }
}

}  // namespace
}  // namespace pagelathe
