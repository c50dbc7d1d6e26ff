// The links of documents and their places: relative links of a small site checked as files,
// fragments against the anchors of their targets (local and remote), and the resolution of
// relative links against a page's URL.
#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "support/TestWebServer.h"
#include "tools/check/LinkCheck.h"
#include "tools/check/LinkSources.h"

namespace pagelathe {
namespace {

using namespace testing;  // the test web server, its replies and helpers

TEST(LinkSources, RelativeLinksAndFragmentsOfALocalSite) {
  testing::TestWebServer server([](const TestRequest& r) {
    return TestReply{HttpReply(r, 200, "", "<html><h1 id=here>x</h1></html>")};
  });
  testing::TempFolder folder;
  const std::string remote = server.Url("/page.html");
  folder.Write("site/index.html",
               "<html><body id=top>\n"
               "<a href=\"about.html\">About</a> <a href='missing.html'>gone</a>\n"
               "<a href=docs/>Docs</a><a href=\"empty/\">Empty</a>\n"
               "<a href=\"about.html#team\">Team</a> <a href=\"about.html#nobody\">x</a>\n"
               "<img src=\"/img/logo%20big.png\"><a href=\"#top\">Top</a><a href=\"#gone\">?</a>\n"
               "<a href=\"mailto:me@example.org\">Mail</a><a href=\"javascript:void(0)\">js</a>\n"
               "<a href=\"" +
                   remote + "#here\">here</a> <a href=\"" + remote + "#absent\">absent</a>\n" +
                   "<!-- <a href=\"commented.html\"> --><script>x = '<a href=\"script.html\">'"
                   "</script>\n</body></html>\n");
  folder.Write("site/about.html", "<h2 id=\"team\">Team</h2>\r\n<a href=\"index.html\">Home</a>");
  folder.Write("site/docs/index.html", "<base href=\"../\">\n\n<a href=\"about.html\">About</a>");
  folder.Write("site/img/logo big.png", "PNG");
  folder.MakeFolder("site/empty");

  LinkSet links;
  LinkCollector collector({}, links);
  std::vector<std::string> skipped;
  ASSERT_TRUE(collector.AddFolder(folder / "site", skipped));
  CheckOptions options;
  options.fragments = true;
  CheckLinks(links, options, {});
  struct Case {
    std::string url;
    LinkState state;
    std::string places;  // document (in the site) : line, ...
  };
  const Case cases[] = {
      {"about.html", LinkState::kOk, "index.html:2, docs/index.html:3"},
      {"missing.html", LinkState::kBroken, "index.html:2"},
      {"docs/", LinkState::kOk, "index.html:3"},
      {"empty/", LinkState::kBroken, "index.html:3"},
      {"about.html#team", LinkState::kOk, "index.html:4"},
      {"about.html#nobody", LinkState::kBroken, "index.html:4"},
      {"/img/logo%20big.png", LinkState::kOk, "index.html:5"},
      {"#top", LinkState::kOk, "index.html:5"},
      {"#gone", LinkState::kBroken, "index.html:5"},
      {remote + "#here", LinkState::kOk, "index.html:7"},
      {remote + "#absent", LinkState::kBroken, "index.html:7"},
      {"index.html", LinkState::kOk, "about.html:2"},
  };
  std::map<std::string, const CheckedLink*> by_url;
  for (const CheckedLink& link : links)
    by_url[link.url] = &link;
  EXPECT_EQ(by_url.size(), std::size(cases)) << "mailto:, javascript:, comments and scripts";
  for (const Case& c : cases) {
    ASSERT_TRUE(by_url.count(c.url)) << c.url;
    const CheckedLink& link = *by_url[c.url];
    EXPECT_EQ(StateName(link.state), std::string(StateName(c.state)))
        << c.url << " " << link.message;
    std::string places;
    for (const LinkPlace& place : link.places)
      places += (places.empty() ? "" : ", ") +
                place.document.str().substr(folder.Path().size() + 5) + ":" +
                std::to_string(place.line);
    EXPECT_EQ(places, c.places) << c.url;
  }
  // The page with both fragments was fetched once, whole (the anchors are in its body).
  EXPECT_EQ(server.Seen("/page.html"), std::vector<std::string>{"GET /page.html"});
}

TEST(LinkSources, RelativeLinksResolveAsBrowsersDo) {
  struct Case {
    const char* link;
    const char* base;
    const char* resolved;
  };
  const Case cases[] = {
      {"../c.html#x", "http://h/a/b.html", "http://h/c.html#x"},
      {"../../../c", "http://h/a/b", "http://h/c"},
      {"./x/./y/../z?q=1", "http://h/a/b?old", "http://h/a/x/z?q=1"},
      {"/root", "https://h:8443/a/b", "https://h:8443/root"},
      {"//cdn.example/x", "https://h/", "https://cdn.example/x"},
      {"?page=2", "http://h/list", "http://h/list?page=2"},
      {"#top", "http://h/a?b#old", "http://h/a?b#top"},
      {"a", "http://h", "http://h/a"},
      {"HTTPS://Other/", "http://h/", "HTTPS://Other/"},
      {"mailto:me@example.org", "http://h/", ""},
      {"javascript:go()", "http://h/", ""},
      {"", "http://h/", ""},
      {"sub/p.html", "file:///site/a/index.html", "file:///site/a/sub/p.html"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ResolveLink(c.link, c.base), c.resolved) << c.link << " against " << c.base;
}

}  // namespace
}  // namespace pagelathe
