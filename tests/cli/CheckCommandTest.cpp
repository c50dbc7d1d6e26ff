// pagelathe check as a whole process against a server on 127.0.0.1: the report formats, the
// exit statuses (0, 1, 2, 130), --fail-on, the keys of the JSON report, and the mending of
// permanent redirects, shown as a diff or made.
#include <gtest/gtest.h>
#include <signal.h>

#include "cli/ProcessRunner.h"
#include "support/TempFolder.h"
#include "support/TestWebServer.h"

namespace pagelathe {
namespace {

using namespace testing;  // the test web server, its replies and helpers

TEST(CheckCommand, FormatsExitStatusesAndMending) {
  testing::TestWebServer server([](const TestRequest& r) {
    if (r.target == "/old") return TestReply{HttpReply(r, 301, "Location: /new\r\n")};
    if (r.target == "/page.html")
      return TestReply{HttpReply(r, 200, "", "<a href=\"new\">n</a> <a href=/gone>g</a>"), true};
    return TestReply{HttpReply(r, r.target == "/gone" ? 404 : r.target == "/private" ? 403 : 200)};
  });
  const std::string s = server.Url("");
  testing::TempFolder dir;
  const std::string site = dir.MakeFolder("site");
  const std::string page = "<p>\n<a href=\"" + s + "/new\">ok</a> <a href=\"" + s +
                           "/private\">403</a>\n<a href=\"" + s + "/old\">moved</a>\n";
  const std::string index = dir.Write("site/index.html", page);
  const std::string broken = dir.Write("broken/index.html", "<a href=\"" + s + "/gone\">x</a>");
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string out;  // held by standard output
    std::string err;  // held by standard error (empty: it stays empty)
  };
  const Case cases[] = {
      {{"check", site},
       0,
       "redirected 200 " + s + "/old  -> " + s + "/new  [" + index + ":3]\n",
       ""},
      {{"check", "--format", "json", broken},
       1,
       "[\n  {\"url\": \"" + s +
           "/gone\", \"state\": \"broken\", \"code\": 404, \"final_url\": "
           "\"\", \"message\": \"HTTP 404\", \"places\": [{\"document\": \"" +
           dir.Path() + "broken/index.html\", \"line\": 1}]}\n]\n",
       ""},
      {{"check", "--format=csv", "--fail-on", "blocked", site},
       1,
       "url,state,code,final_url,message,places\r\n" + s + "/new,ok,200,,," + index + ":2\r\n" + s +
           "/private,blocked,403,,HTTP 403," + index + ":2\r\n",
       ""},
      {{"check", "--format", "junit", "--fail-on", "timeout", broken},
       0,
       "<testsuite name=\"links\" tests=\"1\" failures=\"1\">",
       ""},
      {{"check", "--format", "markdown", "--exclude", "/gone$", broken},
       0,
       "| excluded |  | " + s + "/gone | matches an --exclude pattern | ",
       ""},
      {{"check", "--accept", "200..299,403", "--fail-on", "blocked", site},
       0,
       "ok         403 ",
       ""},
      {{"check", "--url", s + "/page.html"}, 1, "broken     404 /gone", ""},
      {{"check", "-"}, 0, "", ""},
      {{"check", "--fix-redirects", "--dry-run", site},
       0,
       "--- a/" + index + "\n+++ b/" + index + "\n@@ -1,3 +1,3 @@\n",
       ""},
      {{"check", "--format", "xml", site}, 2, "", "'xml' is not one of text, csv, json"},
      {{"check", "--accept", "2xx", site}, 2, "", "option --accept: '2xx' is not a status code"},
      {{"check", "--fail-on", "dead", site}, 2, "", "'dead' is not one of ok, redirected"},
      {{"check", "--timeout", "0", site}, 2, "", "option --timeout: '0' is not a number"},
      {{"check", "--max-age", "1y", site}, 2, "", "'1y' is not a duration"},
      {{"check", "--exclude", "(", site}, 2, "", "'(' is not a regular expression"},
      {{"check", "--dry-run", site}, 2, "", "--dry-run goes with --fix-redirects"},
      {{"check", "--url", s, site}, 2, "", "either --url or PATH"},
      {{"check"}, 2, "", "no PATH given"},
  };
  for (const Case& c : cases) {
    const testing::ProcessResult run = RunPagelathe(c.arguments);
    const std::string shown = ::testing::PrintToString(c.arguments);
    EXPECT_EQ(run.status, c.status) << shown << run.err;
    EXPECT_NE(run.out.find(c.out), std::string::npos) << shown << "\n" << run.out;
    EXPECT_EQ(c.err.empty() ? run.err.empty() : run.err.find(c.err) != std::string::npos, true)
        << shown << run.err;
  }
  EXPECT_EQ(dir.Read("site/index.html"), page);  // the dry run changed nothing
  const testing::ProcessResult mended = RunPagelathe({"check", "--fix-redirects", site});
  EXPECT_EQ(mended.status, 0) << mended.err;
  EXPECT_EQ(mended.err, "pagelathe check: 1 permanent redirect mended in 1 document\n");
  std::string expected = page;
  expected.replace(expected.find(s + "/old"), s.size() + 4, s + "/new");
  EXPECT_EQ(dir.Read("site/index.html"), expected);
}

TEST(CheckCommand, CtrlCEndsACheckThatWaitsForAnAnswer) {
  testing::TestWebServer server([](const TestRequest&) { return TestReply{"", false, true}; });
  testing::TempFolder dir;
  const std::string site = dir.Write("index.html", "<a href=\"" + server.Url("/slow") + "\">");
  testing::ProcessOptions options;
  options.while_running = [&server](pid_t pid) {
    const bool asked = testing::WaitFor([&server] { return server.RequestCount() > 0; });
    ::kill(pid, asked ? SIGINT : SIGKILL);
  };
  const testing::ProcessResult run = RunPagelathe({"check", site}, options);
  EXPECT_EQ(run.status, 130) << run.err;
  EXPECT_EQ(run.out, "");
}

}  // namespace
}  // namespace pagelathe
