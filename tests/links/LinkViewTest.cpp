// The displayed link list: the repeat filter, "No http://", views, sorting, and the export
// texts. The repeat filter is also checked against a plain quadratic reading of the rule on
// random lists, since its index must never change the answer.
#include "tools/links/LinkView.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "platform/Win1251.h"
#include "tools/converter/HtmlPage.h"
#include "tools/links/SubstringIndex.h"

namespace pagelathe {
namespace {

LinkViewOptions Options(bool sort, bool no_http, int link_type, int view,
                        std::string protocol = "http://") {
  return {sort, no_http, LinkShapeAt(link_type), view, std::move(protocol)};
}

struct ViewCase {
  const char* name;
  TextList found;
  LinkViewOptions options;
  TextList expected;
};

const ViewCase kViewCases[] = {
    {"single link unformatted", {"http://a.org"}, Options(true, true, 0, 1), {"http://a.org"}},
    {"single bare protocol still shown", {"http://"}, Options(true, false, 0, 2), {"http://"}},
    {"html anchors",
     {"http://b.org", "http://a.org"},
     Options(true, false, 1, 1),
     {"<a href=\"http://a.org\">http://a.org</a>", "<a href=\"http://b.org\">http://b.org</a>"}},
    {"bb code",
     {"http://b.org", "http://a.org"},
     Options(false, false, 1, 2),
     {"[url=http://b.org]http://b.org[/url]", "[url=http://a.org]http://a.org[/url]"}},
    {"longer after shorter: both",
     {"http://a.org", "http://a.org/x"},
     Options(false, false, 0, 0),
     {"http://a.org", "http://a.org/x"}},
    {"shorter after longer: dropped",
     {"http://a.org/x", "http://a.org"},
     Options(false, false, 0, 0),
     {"http://a.org/x"}},
    {"repeats dropped",
     {"http://a.org", "http://b.org", "http://a.org"},
     Options(false, false, 1, 0),
     {"http://a.org", "http://b.org"}},
    {"bare protocol never shown",
     {"http://", "http://a.org", "http://"},
     Options(false, false, 0, 0),
     {"http://a.org"}},
    {"no http cuts the protocol",
     {"http://b.org", "http://a.org"},
     Options(true, true, 1, 0),
     {"a.org", "b.org"}},
    {"no http bare protocol becomes empty",
     {"http://", "http://a.org"},
     Options(true, true, 1, 0),
     {"a.org"}},
    {"no http leaves names",
     {"a.html", "http://x.org"},
     Options(false, true, 2, 0),
     {"a.html", "http://x.org"}},
    {"no http cuts the chosen protocol only",
     {"ftp://files.org", "ftp://x.org/ftp://"},
     Options(false, true, 0, 0, "ftp://"),
     {"files.org", "x.org/ftp://"}},
    {"no http with nothing selected",
     {"http://a", "http://b"},
     Options(false, true, 0, 0, ""),
     {"http://a", "http://b"}},
    {"empty names skipped", {"", "a.gif", ""}, Options(false, false, 2, 0), {"a.gif"}},
    {"short links against earlier lines",
     {"abc", "b", "xyz", "bc", "yz", "q"},
     Options(false, false, 2, 0),
     {"abc", "xyz", "q"}},
    {"filter sees the formatted lines",
     {"http://a.org", "href", "url="},
     Options(false, false, 2, 1),
     {"<a href=\"http://a.org\">http://a.org</a>", "<a href=\"url=\">url=</a>"}},
    {"filter sees bb lines",
     {"http://a.org", "url=", "[/url"},
     Options(false, false, 2, 2),
     {"[url=http://a.org]http://a.org[/url]"}},
    {"sort ignores case and keeps ties in order",
     {"http://b.org", "http://A.org", "http://B.org"},
     Options(true, false, 1, 0),
     {"http://A.org", "http://b.org", "http://B.org"}},
    {"unsorted keeps the found order",
     {"http://b.org", "http://A.org", "http://B.org"},
     Options(false, false, 1, 0),
     {"http://b.org", "http://A.org", "http://B.org"}},
    {"cyrillic sorts after latin",
     {"http://\xE0.ru", "http://z.ru", "http://\xC0\xC1.ru"},
     Options(true, false, 1, 0),
     {"http://z.ru", "http://\xE0.ru", "http://\xC0\xC1.ru"}},
    {"empty found list", {}, Options(true, false, 1, 1), {}},
};

TEST(BuildLinkView, DocumentedCases) {
  for (const ViewCase& c : kViewCases)
    EXPECT_EQ(BuildLinkView(LinkStore(c.found), c.options), c.expected) << c.name;
}

// The rule read literally: compare with every line shown so far.
TextList PlainView(const TextList& found, const LinkViewOptions& options) {
  if (found.size() == 1) return found;
  TextList lines;
  for (std::string link : found) {
    if (options.no_http && options.link_type != LinkShape::Name && !options.protocol.empty() &&
        link.rfind(options.protocol, 0) == 0)
      link.erase(0, options.protocol.size());
    bool contained = false;
    for (const std::string& line : lines)
      contained = contained || line.find(link) != line.npos;
    if (contained || link.empty() || link == options.protocol) continue;
    lines.push_back(FormatLinkForView(link, options.view));
  }
  return lines;
}

TEST(BuildLinkView, RepeatFilterAgreesWithThePlainRule) {
  std::mt19937 random(20261208);
  const std::string alphabet = "ab/.h:tp";
  for (int round = 0; round < 300; ++round) {
    TextList found;
    const int count = 2 + static_cast<int>(random() % 60);
    for (int i = 0; i < count; ++i) {
      std::string link = random() % 2 ? "http://" : "";
      const int length = static_cast<int>(random() % 9);
      for (int j = 0; j < length; ++j)
        link += alphabet[random() % alphabet.size()];
      found.push_back(link);
    }
    const LinkViewOptions options = Options(
        false, random() % 2 == 0, static_cast<int>(random() % 3), static_cast<int>(random() % 3));
    ASSERT_EQ(BuildLinkView(LinkStore(found), options), PlainView(found, options))
        << "round " << round;
    // The shown lines are distinct, sorted or not: the Remove button relies on it.
    LinkViewOptions sorted = options;
    sorted.sort = random() % 2 == 0;
    const TextList shown = BuildLinkView(LinkStore(found), sorted);
    ASSERT_EQ(std::set<std::string>(shown.begin(), shown.end()).size(), shown.size())
        << "round " << round;
  }
}

TEST(SubstringIndex, AnswersForShortAndLongTexts) {
  SubstringIndex index;
  EXPECT_FALSE(index.AnyContains(""));
  EXPECT_FALSE(index.AnyContains("a"));
  index.Add("http://host.org/page");
  index.Add("\xC0\xC1\xC2\xC3");
  struct Case {
    const char* text;
    bool contained;
  };
  const Case cases[] = {{"", true},
                        {"h", true},
                        {"ge", true},
                        {"org", true},
                        {"rg/p", true},
                        {"http://host.org/page", true},
                        {"host.org/pages", false},
                        {"gp", false},
                        {"\xC1\xC2", true},
                        {"\xC0\xC1\xC2\xC3", true},
                        {"\xC1\xC0", false},
                        {"z", false}};
  for (const Case& c : cases)
    EXPECT_EQ(index.AnyContains(c.text), c.contained) << c.text;
  index.Add("zzzzzz");  // every table built on demand still follows new lines
  EXPECT_TRUE(index.AnyContains("z"));
  EXPECT_TRUE(index.AnyContains("zzz"));
  EXPECT_TRUE(index.AnyContains("zzzzz"));
  EXPECT_FALSE(index.AnyContains("zzzzzzz"));
  index.Add("yyyyyyyyyy");
  EXPECT_TRUE(index.AnyContains("yyyyy"));
  EXPECT_TRUE(index.AnyContains("yyyyyyyyy"));
  EXPECT_FALSE(index.AnyContains("yyyyyyyyyyy"));
  EXPECT_EQ(index.Size(), 4u);
}

TEST(RemoveLines, DropsEveryEqualLine) {
  EXPECT_EQ(RemoveLines({"a", "b", "a", "c", "ab"}, {"a", "c"}), (TextList{"b", "ab"}));
  EXPECT_EQ(RemoveLines({"a"}, {}), TextList{"a"});
  EXPECT_EQ(RemoveLines({}, {"a"}), TextList{});
  EXPECT_EQ(RemoveLines({"", "x", ""}, {""}), TextList{"x"});
}

TEST(MarkEqualLines, MarksEqualLinesAndKeepsMarksAlreadySet) {
  struct Case {
    TextList lines;
    TextList removed;
    std::vector<bool> before;
    std::vector<bool> after;
  };
  const Case cases[] = {
      {{"a", "b", "a"}, {"a"}, {}, {true, false, true}},
      {{"a", "b", "c"}, {"b"}, {true, false, false}, {true, true, false}},
      {{"a", "b"}, {}, {}, {false, false}},
      {{"ab", "a\xE0", "A"}, {"a"}, {}, {false, false, false}},
  };
  for (const Case& c : cases) {
    std::vector<bool> marks = c.before;
    MarkEqualLines(c.lines, c.removed, marks);
    EXPECT_EQ(marks, c.after);
  }
  // Many lines, a few removed among them, with every hash slot well used.
  TextList lines;
  TextList removed;
  for (int i = 0; i < 50000; ++i) {
    lines.push_back("http://host" + std::to_string(i) + ".org");
    if (i % 1000 == 7) removed.push_back(lines.back());
  }
  std::vector<bool> marks;
  MarkEqualLines(lines, removed, marks);
  for (int i = 0; i < 50000; ++i)
    ASSERT_EQ(marks[static_cast<size_t>(i)], i % 1000 == 7) << i;
}

TEST(JoinForClipboard, CrLfBetweenLinesOnly) {
  EXPECT_EQ(JoinForClipboard({}), "");
  EXPECT_EQ(JoinForClipboard({"a"}), "a");
  EXPECT_EQ(JoinForClipboard({"a", "", "b"}), "a\r\n\r\nb");
  EXPECT_EQ(JoinForClipboard({"\xCF\xF0\xE8", "Привет"}), "При\r\nПривет");  // line by line
}

TEST(LinkListHtmlPage, WrapsEveryLine) {
  const TextList page = LinkListHtmlPage({"http://a.org", "<a href=\"x\">x</a>"}, "Links");
  const TextList expected = {
      "<HTML>",
      "<HEAD>",
      std::string(kCharsetLine1251),
      "<TITLE>Links</TITLE>",
      "</HEAD>",
      "<BODY BGCOLOR=\"#FFFFFF\" TEXT=\"#000000\" LINK=\"#0000FF\" VLINK=\"#800080\">",
      "",
      "<h2 align=center>Links:</h2>",
      "",
      "<br><a href=\"http://a.org\" target = \"_blank\">http://a.org</a>",
      "<br><a href=\"<a href=\"x\">x</a>\" target = \"_blank\"><a href=\"x\">x</a></a>",
      "",
      "</BODY>",
      "</HTML>",
  };
  EXPECT_EQ(page, expected);
  EXPECT_EQ(LinkListHtmlPage({}, "").size(), 12u);
  // Links of a Windows-1251 document and of a UTF-8 one are one text on the page, written in
  // the charset it says.
  const TextList links = {"http://\xE0.example/", "http://ж.example/"};
  std::string legacy;
  ASSERT_TRUE(Utf8ToWin1251(
      JoinLines(LinkListHtmlPage({"http://а.example/", "http://ж.example/"}, "Ссылки")), legacy));
  EXPECT_EQ(HtmlPageBytes(LinkListHtmlPage(links, "Ссылки")), legacy);
  const std::string bytes = HtmlPageBytes(LinkListHtmlPage(links, "日本"));
  EXPECT_NE(bytes.find(std::string(kCharsetLineUtf8) + "\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("http://а.example/"), std::string::npos);
}

TEST(ReplaceExtension, ReplacesTheLastPartsExtension) {
  struct Case {
    const char* name;
    const char* extension;
    const char* result;
  };
  const Case cases[] = {
      {"links.txt", ".htm", "links.htm"},
      {"links.htm", ".txt", "links.txt"},
      {"links", ".htm", "links.htm"},
      {"a.b.txt", ".htm", "a.b.htm"},
      {"/home/a.b/links", ".txt", "/home/a.b/links.txt"},
      {"", ".txt", ".txt"},
      {"links.", ".htm", "links.htm"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReplaceExtension(c.name, c.extension), c.result);
}

}  // namespace
}  // namespace pagelathe
