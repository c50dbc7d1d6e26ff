// The shown lines of the Links Grabber back as links, and the places found for them.
#include "tools/check/ShownLinks.h"

#include <gtest/gtest.h>

namespace pagelathe {
namespace {

TEST(LinkOfShownLine, UndoesTheViewAndTheDroppedProtocol) {
  const struct {
    const char* line;
    int view;
    bool no_http;
    LinkShape shape;
    const char* link;
  } cases[] = {
      {"http://h/a", 0, false, LinkShape::FullLink, "http://h/a"},
      {"<a href=\"http://h/a\">http://h/a</a>", 1, false, LinkShape::FullLink, "http://h/a"},
      {"[url=http://h]http://h[/url]", 2, false, LinkShape::Domen, "http://h"},
      {"[url=h/a]h/a[/url]", 2, true, LinkShape::FullLink, "http://h/a"},
      {"h/a\r", 0, true, LinkShape::FullLink, "http://h/a"},       // a fetched page's line end
      {"http://h/a", 1, true, LinkShape::FullLink, "http://h/a"},  // one link: shown as found
      {"<a href=\"x\">y</a>", 1, false, LinkShape::FullLink, "<a href=\"x\">y</a>"},
      {"page.html", 0, true, LinkShape::Name, "page.html"},
      {"", 0, true, LinkShape::FullLink, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    LinkViewOptions view;
    view.view = c.view;
    view.no_http = c.no_http;
    view.link_type = c.shape;
    view.protocol = "http://";
    EXPECT_EQ(LinkOfShownLine(c.line, view), c.link);
  }
}

TEST(CollectShownLinks, GivesTheShownLinksInOrderWithTheirPlaces) {
  ShownLinksRequest request;
  request.view.protocol = "http://";
  request.view.link_type = LinkShape::Domen;
  request.view.no_http = true;
  request.lines = {"b.org", "a.org", "gone.org"};
  request.source = {ShownLinksSource::Kind::kText, "clipboard"};
  request.text = "x http://a.org/1 http://b.org\r\nhttp://a.org/2\n\nhttp://b.org/x";
  request.exclusion_lines = {"b.org"};
  std::vector<std::string> skipped;
  const LinkSet links = CollectShownLinks(request, skipped);
  ASSERT_EQ(links.size(), 3u);
  EXPECT_EQ(links[0].url, "http://b.org");
  EXPECT_TRUE(links[0].checked && links[0].state == LinkState::kExcluded);  // listed since
  EXPECT_EQ(links[0].places, (std::vector<LinkPlace>{{"clipboard", 1}, {"clipboard", 4}}));
  EXPECT_EQ(links[1].url, "http://a.org");
  EXPECT_FALSE(links[1].checked);
  EXPECT_EQ(links[1].places, (std::vector<LinkPlace>{{"clipboard", 1}, {"clipboard", 2}}));
  EXPECT_TRUE(links[2].places.empty());  // no longer in the document
  EXPECT_TRUE(skipped.empty());

  request.view.link_type = LinkShape::Name;  // file names are no links
  request.lines = {"x"};
  EXPECT_EQ(CollectShownLinks(request, skipped)[0].state, LinkState::kExcluded);
}

}  // namespace
}  // namespace pagelathe
