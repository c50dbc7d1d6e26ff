// What a check keeps between runs (successes only) and what it mends (permanent redirects,
// rewritten in place with every other byte kept).
#include <gtest/gtest.h>

#include <ctime>

#include "support/TempFolder.h"
#include "support/TestWebServer.h"
#include "tools/check/CheckCache.h"
#include "tools/check/FixRedirects.h"
#include "tools/check/LinkCheck.h"

namespace pagelathe {
namespace {

using namespace testing;  // the test web server, its replies and helpers

TEST(CheckCache, ASecondRunAsksOnlyForWhatFailed) {
  testing::TestWebServer server([](const TestRequest& r) {
    if (r.target == "/moved") return TestReply{HttpReply(r, 301, "Location: /ok\r\n")};
    return TestReply{HttpReply(r, r.target == "/ok" ? 200 : 404)};
  });
  testing::TempFolder folder;
  const std::string file = folder / "check.cache";
  const long long now = std::time(nullptr);
  const auto run = [&](long long clock) {
    LinkSet links;
    for (const char* path : {"/ok", "/moved", "/gone"})
      links.Add(server.Url(path), {"index.html", 1});
    CheckCache cache(file, 86400, clock);
    CheckLinks(links, {}, {}, nullptr, &cache);
    cache.Save();
    return links;
  };
  static_cast<void>(run(now));
  ASSERT_EQ(server.RequestCount(), 5);  // HEAD /ok, HEAD /moved, HEAD /ok, HEAD and GET /gone
  const LinkSet second = run(now);
  EXPECT_EQ(server.RequestCount(), 7);
  EXPECT_EQ(server.Seen("/gone").size(), 4U);
  EXPECT_TRUE(second[0].cached);
  EXPECT_EQ(second[1].state, LinkState::kRedirected);
  EXPECT_EQ(second[1].final_url, server.Url("/ok"));
  EXPECT_TRUE(second[1].permanent);
  EXPECT_EQ(second[2].state, LinkState::kBroken);
  EXPECT_FALSE(second[2].cached);
  // A day later every success is asked for again.
  static_cast<void>(run(now + 86400 + 1));
  EXPECT_EQ(server.RequestCount(), 12);
  // A cache file that is no cache is read as an empty one.
  folder.Write("check.cache", std::string("\xff\0garbage\tline\n1\tok\n", 20));
  EXPECT_EQ(CheckCache(file, 86400, now).size(), 0U);
}

TEST(FixRedirects, PermanentRedirectsAreRewrittenAndNothingElse) {
  testing::TempFolder folder;
  const std::string page = folder.Write(
      "page.html",
      "<p>one</p>\r\n<a href=\"http://old.example/a\">A</a> and http://old.example/a, again\r\n"
      "<a href=\"http://old.example/a/deeper\">kept</a>\r\n<a href=\"http://tmp.example/\">t</a>"
      "\r\nfour\r\nfive\r\nsix\r\nseven\r\neight\rhttp://old.example/a#part\n");
  const auto add = [](LinkSet& links, const std::string& url, const std::string& final_url,
                      bool permanent, std::vector<int> lines, const std::string& document) {
    const size_t i = links.Add(url, {document, lines[0]});
    for (size_t n = 1; n < lines.size(); ++n)
      links.Add(url, {document, lines[n]});
    links[i].checked = true;
    links[i].state = LinkState::kRedirected;
    links[i].final_url = final_url;
    links[i].permanent = permanent;
  };
  LinkSet links;
  add(links, "http://old.example/a", "https://new.example/a", true, {2}, page);
  add(links, "http://old.example/a#part", "https://new.example/a", true, {10}, page);
  add(links, "http://tmp.example/", "http://tmp.example/today", false, {4}, page);
  add(links, "http://old.example/b", "https://new.example/b", true, {1}, "-");
  const std::vector<DocumentFix> fixes = PlanRedirectFixes(links);
  ASSERT_EQ(fixes.size(), 1U);
  EXPECT_EQ(fixes[0].replacements, 3);
  EXPECT_EQ(UnifiedDiff(fixes),
            "--- a/" + page + "\n+++ b/" + page +
                "\n@@ -1,5 +1,5 @@\n <p>one</p>\n"
                "-<a href=\"http://old.example/a\">A</a> and http://old.example/a, again\n"
                "+<a href=\"https://new.example/a\">A</a> and https://new.example/a, again\n"
                " <a href=\"http://old.example/a/deeper\">kept</a>\n"
                " <a href=\"http://tmp.example/\">t</a>\n four\n"
                "@@ -7,4 +7,4 @@\n six\n seven\n eight\n"
                "-http://old.example/a#part\n+https://new.example/a#part\n");
  ApplyFixes(fixes);
  EXPECT_EQ(folder.Read("page.html"),
            "<p>one</p>\r\n<a href=\"https://new.example/a\">A</a> and https://new.example/a, "
            "again\r\n<a href=\"http://old.example/a/deeper\">kept</a>\r\n<a "
            "href=\"http://tmp.example/\">t</a>\r\nfour\r\nfive\r\nsix\r\nseven\r\neight\r"
            "https://new.example/a#part\n");
}

}  // namespace
}  // namespace pagelathe
