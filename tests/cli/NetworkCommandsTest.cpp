// pagelathe fetch and links --url against a real server on 127.0.0.1: the body as it came,
// the header where it was asked for, redirects followed, and Ctrl-C ending a request that
// never gets an answer at once, with no file left behind.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>

#include "cli/ProcessRunner.h"
#include "support/LocalHttpServer.h"
#include "support/TempFolder.h"
#include "support/TestWebServer.h"

namespace pagelathe {
namespace {

using testing::HttpResponse;
using testing::LocalHttpServer;
using testing::RunPagelathe;

TEST(FetchCommand, WritesTheBodyAndTheHeaderWhereAsked) {
  // Bytes of every value, a line break of each kind, and no final line break. Declared before
  // the server, so that the server's threads, which read it, are joined before it goes (the
  // client is another process: nothing else orders their reads before its end).
  std::string body = "<a href=\"http://x.example/p\">\r\nline\rline\n";
  for (int c = 0; c < 256; ++c)
    body.push_back(static_cast<char>(c));
  LocalHttpServer server;
  server.SetResponder([&](const testing::RecordedRequest& request) {
    if (request.target == "/moved") return HttpResponse(302, "gone", "Location: /page\r\n");
    if (request.target == "/missing") return HttpResponse(404, "no such page");
    return HttpResponse(200, body);
  });
  const std::string header = "HTTP/1.1 200 Test\r\nContent-Type: text/plain\r\nContent-Length: " +
                             std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
  testing::TempFolder dir;
  struct Case {
    std::vector<std::string> arguments;
    std::string out, err;
  };
  const Case cases[] = {
      {{"fetch", server.BaseUrl() + "/page"}, body, header},
      {{"fetch", "--include", server.BaseUrl() + "/page"}, header + body, ""},
      {{"fetch", server.BaseUrl() + "/moved"}, body, header},
      {{"fetch", server.BaseUrl() + "/missing"},
       "no such page",
       "HTTP/1.1 404 Test\r\nContent-Type: text/plain\r\nContent-Length: 12\r\n"
       "Connection: close\r\n\r\n"},
      {{"fetch", "-o", dir / "page.bin", server.BaseUrl() + "/page"}, "", header},
      {{"links", "-t", "full", "--url", server.BaseUrl() + "/moved"}, "http://x.example/p\n", ""},
  };
  for (const Case& c : cases) {
    const testing::ProcessResult run = RunPagelathe(c.arguments);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out) << ::testing::PrintToString(c.arguments);
    EXPECT_EQ(run.err, c.err) << ::testing::PrintToString(c.arguments);
  }
  EXPECT_EQ(dir.Read("page.bin"), body);
}

TEST(FetchCommand, FailsWithTheClientsMessage) {
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  const std::string refused = "http://127.0.0.1:" + std::to_string(testing::ClosedPort()) + "/";
  const Case cases[] = {
      {{"fetch", refused}, "Connection Failed"},
      {{"links", "--url", refused}, "Connection Failed"},
      {{"links", "--url", ""}, "Empty URL"},
  };
  for (const Case& c : cases) {
    const testing::ProcessResult run = RunPagelathe(c.arguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
}

TEST(FetchCommand, CtrlCEndsARequestThatIsNeverAnsweredAndLeavesNoFile) {
  testing::TempFolder dir;
  dir.Write("kept.html", "the old page");
  const std::vector<std::vector<std::string>> runs = {
      {"links", "--url", "URL"},
      {"fetch", "URL"},
      {"fetch", "-o", dir / "kept.html", "URL"},
      {"fetch", "-o", dir / "new.html", "URL"},
  };
  for (std::vector<std::string> arguments : runs) {
    LocalHttpServer server;
    server.Hold();  // reads the request and never answers
    arguments.back() = server.BaseUrl() + "/slow";
    testing::ProcessOptions options;
    options.while_running = [&server](pid_t pid) {
      // Once the request is in, the interrupt comes; a wait of its own would race.
      if (server.WaitForRequests(1, 20000))
        ::kill(pid, SIGINT);
      else
        ::kill(pid, SIGKILL);
    };
    const testing::ProcessResult run = RunPagelathe(arguments, options);
    EXPECT_EQ(run.status, 130) << ::testing::PrintToString(arguments) << run.err;
    EXPECT_EQ(run.out, "");
  }
  EXPECT_EQ(dir.Read("kept.html"), "the old page");
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    names.push_back(entry.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"kept.html"});
}

TEST(FetchCommand, HttpsThroughAPrivateAuthority) {
  testing::TempFolder dir;
  std::string error;
  ASSERT_TRUE(testing::MakeTestAuthority(dir.Path(), error)) << error;
  const auto page = [](const testing::TestRequest& r) {
    return testing::TestReply{testing::HttpReply(r, 200, "", "<a href=\"https://x.example/\">"),
                              true};
  };
  testing::TestWebServer good(page, dir / "good.pem", dir / "good.key");
  testing::TestWebServer wrong(page, dir / "wrong.pem", dir / "wrong.key");
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string out, err_part;
  };
  const Case cases[] = {
      {{"fetch", "--cacert", dir / "ca.pem", good.Url("/")},
       0,
       "<a href=\"https://x.example/\">",
       ""},
      {{"links", "-p", "https://", "--cacert", dir / "ca.pem", "--url", good.Url("/")},
       0,
       "https://x.example\n",
       ""},
      {{"fetch", good.Url("/")}, 1, "", "the certificate's authority is not trusted"},
      {{"links", "--cacert", dir / "ca.pem", "--url", wrong.Url("/")},
       1,
       "",
       "certificate verify failed: the certificate is not for this host (127.0.0.1)"},
  };
  for (const Case& c : cases) {
    const testing::ProcessResult run = RunPagelathe(c.arguments);
    EXPECT_EQ(run.status, c.status) << ::testing::PrintToString(c.arguments) << run.err;
    EXPECT_EQ(run.out, c.out) << ::testing::PrintToString(c.arguments);
    EXPECT_NE(run.err.find(c.err_part), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace pagelathe
