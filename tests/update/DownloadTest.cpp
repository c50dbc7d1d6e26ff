// DownloadFile against a real HTTP server on 127.0.0.1: what is saved, what is sent, and
// what happens to the old file when a download fails.
#include "update/Download.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <thread>

#include "platform/Errors.h"
#include "support/LocalHttpServer.h"
#include "support/TempFolder.h"

namespace pagelathe {
namespace {

using testing::HttpResponse;
using testing::LocalHttpServer;
using testing::TempFolder;

// The names in a folder, so a test can see that no temporary file was left behind.
std::vector<std::string> Names(const TempFolder& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string Unreachable() {
  return "http://127.0.0.1:" + std::to_string(testing::ClosedPort()) + "/v";
}

TEST(DownloadFile, SavesTheBodyByteForByteWhateverTheStatus) {
  std::string binary;
  for (int i = 0; i < 256; ++i)
    binary += static_cast<char>(i);
  std::string big;
  for (int i = 0; i < 300000; ++i)
    big += static_cast<char>('a' + i % 26);
  const struct {
    const char* name;
    int status;
    std::string body;
  } cases[] = {
      {"version line", 200, "1.52\r\n"},
      {"empty body", 200, ""},
      {"every byte value", 200, binary},
      {"many blocks", 200, big},
      {"not found page", 404, "<html>Not Found</html>"},
      {"server error page", 500, "oops"},
  };
  LocalHttpServer server;
  for (const auto& c : cases) {
    TempFolder folder;
    folder.Write("version.txt", "an older answer that is longer than some new ones");
    server.SetResponder([&](const auto&) { return HttpResponse(c.status, c.body); });
    EXPECT_TRUE(DownloadFile(server.BaseUrl() + "/v", folder / "version.txt")) << c.name;
    EXPECT_EQ(folder.Read("version.txt"), c.body) << c.name;
    EXPECT_EQ(Names(folder), std::vector<std::string>{"version.txt"}) << c.name;
  }
}

TEST(DownloadFile, FailuresKeepTheOldFileAndLeaveNoTemporaryFile) {
  LocalHttpServer server;
  const struct {
    const char* name;
    std::string url;
    std::string raw_response;
  } cases[] = {
      {"nothing listens", Unreachable(), ""},
      {"answer broken off", server.BaseUrl() + "/v",
       "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\n1.52"},
      {"no answer at all", server.BaseUrl() + "/v", ""},
      {"garbage instead of HTTP", server.BaseUrl() + "/v", "\x01\x02 not http"},
      {"not an http address", "file:///etc/hostname", ""},
      {"redirect to a file", server.BaseUrl() + "/v",
       "HTTP/1.0 302 Moved\r\nLocation: file:///etc/hostname\r\nContent-Length: 0\r\n\r\n"},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    folder.Write("version.txt", "1.40");
    server.SetResponder([&](const auto&) { return c.raw_response; });
    EXPECT_FALSE(DownloadFile(c.url, folder / "version.txt")) << c.name;
    EXPECT_EQ(folder.Read("version.txt"), "1.40") << c.name;
    EXPECT_EQ(Names(folder), std::vector<std::string>{"version.txt"}) << c.name;
  }
}

TEST(DownloadFile, AnAnswerOverTheLimitCountsAsBrokenOff) {
  LocalHttpServer server;
  TempFolder folder;
  folder.Write("version.txt", "1.40");
  DownloadOptions options;
  options.max_bytes = 1000;
  for (const size_t size : {size_t{1000}, size_t{1001}, size_t{300000}}) {
    server.SetBody(std::string(size, 'v'));
    const bool within = size <= options.max_bytes;
    EXPECT_EQ(DownloadFile(server.BaseUrl() + "/v", folder / "version.txt", options), within)
        << size;
    EXPECT_EQ(folder.Read("version.txt"), within ? std::string(size, 'v') : "1.40") << size;
    EXPECT_EQ(Names(folder), std::vector<std::string>{"version.txt"}) << size;
    folder.Write("version.txt", "1.40");
  }
}

TEST(DownloadFile, SendsTheAgentAsksForAFreshCopyAndFollowsRedirects) {
  LocalHttpServer server;
  server.SetResponder([](const testing::RecordedRequest& request) {
    if (request.target == "/old") return HttpResponse(302, "", "Location: /new\r\n");
    return HttpResponse(200, "1.60");
  });
  TempFolder folder;
  DownloadOptions options;
  options.agent = "Brevanoth Pagelathe 1.51\r\nX-Forged: 1";
  ASSERT_TRUE(DownloadFile(server.BaseUrl() + "/old", folder / "version.txt", options));
  EXPECT_EQ(folder.Read("version.txt"), "1.60");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].target, "/old");
  EXPECT_EQ(requests[1].target, "/new");
  for (const auto& request : requests) {
    EXPECT_EQ(request.Header("User-Agent"), "Brevanoth Pagelathe 1.51  X-Forged: 1");
    EXPECT_EQ(request.Header("X-Forged"), "");
    EXPECT_EQ(request.Header("Cache-Control"), "no-cache");
    EXPECT_EQ(request.Header("Pragma"), "no-cache");
    EXPECT_EQ(request.head.rfind("GET ", 0), 0u) << request.head;
  }
}

TEST(DownloadFile, IgnoresProxySettingsOfTheEnvironment) {
  LocalHttpServer server;
  server.SetBody("1.52");
  TempFolder folder;
  const std::string proxy = Unreachable();
  ::setenv("http_proxy", proxy.c_str(), 1);
  ::setenv("HTTP_PROXY", proxy.c_str(), 1);
  ::setenv("no_proxy", "", 1);
  const bool downloaded = DownloadFile(server.BaseUrl() + "/v", folder / "version.txt");
  ::unsetenv("http_proxy");
  ::unsetenv("HTTP_PROXY");
  ::unsetenv("no_proxy");
  EXPECT_TRUE(downloaded);
  EXPECT_EQ(folder.Read("version.txt"), "1.52");
}

TEST(DownloadFile, StopFlagBreaksOffAWaitingDownload) {
  LocalHttpServer server;
  server.SetBody("1.52");
  server.Hold();
  TempFolder folder;
  folder.Write("version.txt", "1.40");
  std::atomic<bool> stop{false};
  std::atomic<int> result{-1};
  std::thread worker([&] {
    DownloadOptions options;
    options.stop = &stop;
    result = DownloadFile(server.BaseUrl() + "/v", folder / "version.txt", options) ? 1 : 0;
  });
  ASSERT_TRUE(server.WaitForRequests(1));
  stop = true;
  worker.join();  // a download that ignored the flag would wait for the server for good
  EXPECT_EQ(result, 0);
  EXPECT_EQ(folder.Read("version.txt"), "1.40");
}

TEST(DownloadFile, AServerThatSaysNothingCountsAsUnreachable) {
  LocalHttpServer server;
  server.Hold();
  TempFolder folder;
  DownloadOptions options;
  options.stall_seconds = 1;
  EXPECT_FALSE(DownloadFile(server.BaseUrl() + "/v", folder / "version.txt", options));
  EXPECT_TRUE(Names(folder).empty());
}

TEST(DownloadFile, AFileThatCannotBeWrittenIsAFileError) {
  LocalHttpServer server;
  server.SetBody(std::string(5000, 'x'));
  TempFolder folder;
  folder.Write("version.txt", "1.40");
  folder.MakeFolder("taken");
  const struct {
    const char* name;
    std::string path;
  } cases[] = {
      {"missing folder", folder / "no/such/folder/version.txt"},
      {"a folder of that name", folder / "taken"},
  };
  for (const auto& c : cases) {
    try {
      (void)DownloadFile(server.BaseUrl() + "/v", c.path);
      ADD_FAILURE() << c.name << ": no error";
    } catch (const EFileError& error) {
      EXPECT_NE(std::string(error.what()).find(c.path), std::string::npos) << error.what();
    }
  }
  {
    const testing::ScopedFileSizeLimit limit(100);
    EXPECT_THROW((void)DownloadFile(server.BaseUrl() + "/v", folder / "version.txt"), EFileError);
  }
  EXPECT_EQ(folder.Read("version.txt"), "1.40");
  EXPECT_EQ(Names(folder), (std::vector<std::string>{"taken", "version.txt"}));
}

TEST(DownloadFile, KeepsThePermissionsOfTheFileItReplaces) {
  LocalHttpServer server;
  server.SetBody("1.52");
  TempFolder folder;
  const std::string path = folder.Write("version.txt", "1.40");
  const struct { mode_t mode; } cases[] = {{0640}, {0604}, {0600}};
  for (const auto& c : cases) {
    ASSERT_EQ(::chmod(path.c_str(), c.mode), 0);
    ASSERT_TRUE(DownloadFile(server.BaseUrl() + "/v", path));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, c.mode);
  }
  // A new file gets what the umask leaves of 0666, never the temporary file's 0600.
  ASSERT_TRUE(DownloadFile(server.BaseUrl() + "/v", folder / "new.txt"));
  struct stat info {};
  ASSERT_EQ(::stat((folder / "new.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0666u & ~testing::CurrentUmask());
}

}  // namespace
}  // namespace pagelathe
