// The links search of one document: pieces, exclusions, link ends and shapes, and the file
// path that must agree with the line path byte for byte.
#include "tools/links/LinkExtract.h"

#include <gtest/gtest.h>

#include <cctype>
#include <iterator>
#include <random>
#include <string>

namespace pagelathe {
namespace {

constexpr LinkShape kFull = LinkShape::FullLink;
constexpr LinkShape kDomen = LinkShape::Domen;
constexpr LinkShape kName = LinkShape::Name;

struct ExtractCase {
  const char* name;
  TextList lines;
  std::string protocol;
  LinkShape link_type;
  TextList exclusions;
  TextList expected;
};

TextList Extract(const ExtractCase& c) {
  LinkStore found = {"kept"};  // the search appends, it never clears
  ExtractLinks(c.lines, c.protocol, c.link_type, c.exclusions, found);
  TextList links = found.ToTextList();
  EXPECT_EQ(links.front(), "kept");
  links.erase(links.begin());
  return links;
}

const ExtractCase kCases[] = {
    {"anchor, full",
     {R"(<a href="http://host.org/dir/page.html">Page</a>)"},
     "http://",
     kFull,
     {},
     {"http://host.org/dir/page.html"}},
    {"anchor, domain",
     {R"(<a href="http://host.org/dir/page.html">Page</a>)"},
     "http://",
     kDomen,
     {},
     {"http://host.org"}},
    {"anchor, name",
     {R"(<a href="http://host.org/dir/page.html">Page</a>)"},
     "http://",
     kName,
     {},
     {"page.html"}},
    {"two links on a line",
     {"see http://a.org/x and http://b.org/y"},
     "http://",
     kFull,
     {},
     {"http://a.org/x", "http://b.org/y"}},
    {"one link per piece",
     {"http://a.org/http://b.org"},
     "http://",
     kFull,
     {},
     {"http://a.org/http://b.org"}},
    {"comma is kept", {"http://a.org/x, next"}, "http://", kFull, {}, {"http://a.org/x,"}},
    {"dot-dot anywhere skips the piece",
     {"http://a.org/../x http://b.org... ok..http://c.org"},
     "http://",
     kFull,
     {},
     {}},
    {"capitals are not found", {"HTTP://a.org Http://b.org"}, "http://", kFull, {}, {}},
    {"https is not http", {"https://a.org http://b.org"}, "http://", kFull, {}, {"http://b.org"}},
    {"https found as itself",
     {"https://a.org http://b.org"},
     "https://",
     kDomen,
     {},
     {"https://a.org"}},
    {"text before the protocol", {"x=http://a.org/p"}, "http://", kFull, {}, {"http://a.org/p"}},
    {"every end character",
     {"http://a<b http://c>d http://e'f http://g\"h http://i)j http://k]l http://m\tn"},
     "http://",
     kFull,
     {},
     {"http://a", "http://c", "http://e", "http://g", "http://i", "http://k", "http://m"}},
    {"carriage return stays, line feed ends",
     {"http://a.org/p\r\nhttp://b.org/q\nrest"},
     "http://",
     kFull,
     {},
     {"http://a.org/p\r"}},
    {"name of a link ending in a slash is empty",
     {"http://a.org/dir/"},
     "http://",
     kName,
     {},
     {""}},
    {"name needs a slash", {"http://a.org"}, "http://", kName, {}, {}},
    {"domain cuts at a backslash first",
     {"http://a.org\\x/y"},
     "http://",
     kDomen,
     {},
     {"http://a.org"}},
    {"bare protocol", {"http:// x"}, "http://", kFull, {}, {"http://"}},
    {"empty lines and blanks",
     {"", "   ", " http://a.org "},
     "http://",
     kFull,
     {},
     {"http://a.org"}},
    {"exclusion as host",
     {"http://spam.org/x http://www.spam.org http://ok.org"},
     "http://",
     kFull,
     {"spam.org"},
     {"http://ok.org"}},
    {"exclusion with www and protocol",
     {"http://spam.org/x http://www.spam.org http://ok.org"},
     "http://",
     kFull,
     {"http://www.spam.org"},
     {"http://ok.org"}},
    {"exclusion with www only",
     {"http://spam.org/x http://ok.org"},
     "http://",
     kFull,
     {"www.spam.org"},
     {"http://ok.org"}},
    {"blank exclusion and bare protocol exclude nothing",
     {"http://a.org"},
     "http://",
     kFull,
     {"", "http://", "http://www."},
     {"http://a.org"}},
    {"exclusion lines of blanks exclude nothing",
     {"http://a.org http://b.org/x"},
     "http://",
     kFull,
     {" ", "   ", "http:// ", "www. "},
     {"http://a.org", "http://b.org/x"}},
    {"exclusion sees the text after the link",
     {R"(href="http://a.org/">Spam</a>)"},
     "http://",
     kFull,
     {"Spam"},
     {}},
    {"exclusion sees the appended space",
     {"http://a.org/x", "http://a.org/y z"},
     "http://",
     kFull,
     {"x "},
     {"http://a.org/y"}},
    {"exclusion for another protocol",
     {"ftp://files.org/a"},
     "ftp://",
     kFull,
     {"ftp://files.org"},
     {}},
    {"no link type selected", {"http://a.org"}, "http://", LinkShape::None, {}, {}},
    {"empty protocol finds nothing", {"http://a.org"}, "", kFull, {}, {}},
    {"high bytes are plain bytes",
     {"http://\xCF\xF0\xE8\xE2\xE5\xF2.\xF0\xF4/\x80\xFF"},
     "http://",
     kFull,
     {},
     {"http://\xCF\xF0\xE8\xE2\xE5\xF2.\xF0\xF4/\x80\xFF"}},
    {"one fetched page keeps its breaks",
     {"a\r\nhttp://a.org/p\r\nb http://b.org\n"},
     "http://",
     kFull,
     {},
     {"http://a.org/p\r", "http://b.org"}},
};

class ExtractLinksTest : public ::testing::TestWithParam<ExtractCase> {};

TEST_P(ExtractLinksTest, FindsTheDocumentedLinks) {
  EXPECT_EQ(Extract(GetParam()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ExtractLinksTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                           std::string name;
                           for (const char c : std::string(info.param.name))
                             name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

TEST(ExtractLinks, FileTextAgreesWithTheLines) {
  const std::string texts[] = {
      "",
      "http://a.org",
      "x http://a.org/p\r\nhttp://b.org/q\ry\n\nhttp://c.org ",
      "http://a.org\0http://hidden.org",
      "a  b  http://a.org/x..y http://b.org/<c>\r\n\r\n",
      "http://a.org/x http://a.org/x\thttp://a.org\n",
      "nothing here\n",
      " http:// http://http://a",
  };
  for (const char* protocol : {"http://", "ftp://", "a", "http:// "}) {
    for (LinkShape type : {kFull, kDomen, kName}) {
      const LinkExtractor extractor(protocol, type, {"x ", "www.b.org"});
      for (std::string text : texts) {
        LinkStore by_lines, by_file;
        extractor.ExtractLines(SplitLines(text), by_lines);
        extractor.ExtractFileText(text, by_file);
        EXPECT_EQ(by_file, by_lines)
            << protocol << " " << static_cast<int>(type) << " [" << text << "]";
      }
    }
  }
  // A NUL byte ends the text of a file.
  const std::string with_nul("http://a.org\0 http://hidden.org", 31);
  LinkStore found;
  LinkExtractor("http://", kFull, {}).ExtractFileText(with_nul, found);
  EXPECT_EQ(found.ToTextList(), TextList{"http://a.org"});
}

// The block-wise scan against the piece-by-piece reading on random texts made of the bytes
// that matter (breaks, link ends, dots, protocol letters) in runs long enough to cross the
// scan's 16- and 64-byte blocks, with and without exclusions.
TEST(ExtractLinks, ScanAgreesWithThePieceByPieceRule) {
  std::mt19937 random(20261208);
  const std::string alphabet = "http://ftp:.. \r\n\t<>'\")]\"/\\abcw";
  const std::string words[] = {"http://", "ftp://", "www.", "..", "x.org/", "          "};
  const TextList exclusion_sets[] = {{}, {"www.b"}, {"http://x.org/", "t "}};
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int parts = static_cast<int>(random() % 40);
    for (int i = 0; i < parts; ++i) {
      if (random() % 3 == 0) {
        text += words[random() % std::size(words)];
      } else {
        const int run = static_cast<int>(random() % 24);
        for (int j = 0; j < run; ++j)
          text += alphabet[random() % alphabet.size()];
      }
    }
    const char* protocol = round % 4 == 3 ? "ftp://" : "http://";
    const LinkShape type = LinkShapeAt(static_cast<int>(random() % 3));
    const LinkExtractor extractor(protocol, type, exclusion_sets[random() % 3]);
    LinkStore by_scan, by_pieces, by_lines;
    extractor.ExtractFileText(text, by_scan);
    extractor.ExtractPieceByPiece(SplitLines(text), by_pieces);
    ASSERT_EQ(by_scan.ToTextList(), by_pieces.ToTextList())
        << "round " << round << " [" << text << "]";
    // A fetched page is one line with its line breaks inside.
    extractor.ExtractLines({text}, by_lines);
    LinkStore page_by_pieces;
    extractor.ExtractPieceByPiece({text}, page_by_pieces);
    ASSERT_EQ(by_lines.ToTextList(), page_by_pieces.ToTextList()) << "round " << round;
  }
}

TEST(LinkShapeAt, TheGroupsItemsAndNothingElse) {
  const std::pair<int, LinkShape> cases[] = {
      {-1, LinkShape::None}, {0, LinkShape::FullLink}, {1, LinkShape::Domen},
      {2, LinkShape::Name},  {3, LinkShape::None},     {-2, LinkShape::None},
  };
  for (const auto& [index, shape] : cases)
    EXPECT_EQ(LinkShapeAt(index), shape) << index;
}

TEST(CutIntoPieces, EveryPieceEndsWithOneSpace) {
  struct Case {
    TextList lines;
    TextList pieces;
  };
  const Case cases[] = {
      {{}, {}},
      {{""}, {}},
      {{"a"}, {"a "}},
      {{"a  b"}, {"a ", " ", "b "}},
      {{"a ", "b"}, {"a ", " ", "b "}},
      {{"x\ry z"}, {"x\ry ", "z "}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CutIntoPieces(c.lines), c.pieces);
}

TEST(ExclusionText, CutsProtocolThenWww) {
  struct Case {
    const char* line;
    const char* protocol;
    const char* text;
  };
  const Case cases[] = {
      {"host.org", "http://", "host.org"},
      {"www.host.org", "http://", "host.org"},
      {"http://www.host.org", "http://", "host.org"},
      {"http://host.org/www.x", "http://", "x"},
      {"ftp://host.org", "http://", "ftp://host.org"},
      {"http://", "http://", ""},
      {"", "http://", ""},
      {" ", "http://", ""},
      {"http://www.  ", "http://", ""},
      {" host.org ", "http://", " host.org "},
      {"x http://y", "", "x http://y"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ExclusionText(c.line, c.protocol), c.text) << c.line;
}

}  // namespace
}  // namespace pagelathe
