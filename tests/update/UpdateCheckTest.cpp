// The update check's request, version order and verdict, and whole checks against a server
// on 127.0.0.1.
#include "update/UpdateCheck.h"

#include <gtest/gtest.h>

#include "support/LocalHttpServer.h"
#include "support/TempFolder.h"

namespace pagelathe {
namespace {

using testing::LocalHttpServer;
using testing::TempFolder;

TEST(UpdateCheck, BlanksOfTheTitleBecomePlusSigns) {
  const struct {
    std::string title, expected;
  } cases[] = {
      {"Brevanoth Pagelathe", "Brevanoth+Pagelathe"},
      {"Brevanoth+Pagelathe", "Brevanoth+Pagelathe"},  // a second check asks the same
      {"  a  b ", "++a++b+"},
      {"tab\tstays", "tab\tstays"},
      {"", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ReplaceBlanksByPlus(c.title), c.expected) << c.title;
}

TEST(UpdateCheck, RequestAddressPutsTheTitleAfterTheQuery) {
  EXPECT_EQ(UpdateRequestAddress("http://www.brevanoth.example", "Brevanoth+Pagelathe"),
            "http://www.brevanoth.example/cgi-bin/check_update.cgi?title=Brevanoth+Pagelathe");
}

TEST(UpdateCheck, VersionsCompareAsByteStrings) {
  const struct {
    std::string answer;
    bool newer;
  } cases[] = {
      {"1.52", true},    {"1.6", true},
      {"2.0", true},     {"1.51 ", true},
      {"1.510", true},   {"1.51", false},
      {"1.5", false},    {"1.100", false},
      {"", false},       {"1.50", false},
      {"0.99", false},   {"10", true},
      {"1-9", false},    {"\xC0", true},  // bytes compare unsigned: 0xC0 sorts after "1"
      {"1.5\xFF", true}, {std::string("1.51\0", 5), true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsNewerVersion(c.answer, "1.51"), c.newer) << '"' << c.answer << '"';
  }
}

const UpdateTexts kTexts = {"You have the last version.", "New version: ", "No server."};
constexpr const char* kPage = "http://host.example/brevanoth_pagelathe.shtml";

TEST(UpdateCheck, VerdictOnTheAnswer) {
  using O = UpdateOutcome;
  const std::optional<std::string> keep;
  const struct {
    const char* name;
    bool downloaded;
    std::optional<TextList> answer;
    O outcome;
    std::optional<std::string> message, link;
  } cases[] = {
      {"failed download", false, TextList{"9.9"}, O::kCantConnect, "No server.", keep},
      {"file gone", true, std::nullopt, O::kNoAnswerFile, keep, keep},
      {"empty answer", true, TextList{}, O::kLastVersion, "You have the last version.", ""},
      {"same version", true, TextList{"1.51"}, O::kLastVersion, "You have the last version.", ""},
      {"newer", true, TextList{"1.52"}, O::kNewVersion, "New version: 1.52", kPage},
      {"only the first line counts", true, TextList{"1.4", "9.9"}, O::kLastVersion,
       "You have the last version.", ""},
      {"empty first line", true, TextList{"", "2.0"}, O::kLastVersion, "You have the last version.",
       ""},
      {"error page", true, TextList{"<html>", "404"}, O::kNewVersion, "New version: <html>", kPage},
  };
  for (const auto& c : cases) {
    const UpdateResult result = JudgeAnswer(c.downloaded, c.answer, kTexts, "1.51", kPage);
    EXPECT_EQ(result.outcome, c.outcome) << c.name;
    EXPECT_EQ(result.message, c.message) << c.name;
    EXPECT_EQ(result.link, c.link) << c.name;
    EXPECT_EQ(result.Newer(), c.outcome == O::kNewVersion) << c.name;
  }
}

UpdateQuery QueryFor(const std::string& base, const TempFolder& folder, bool connected = true) {
  UpdateQuery query;
  query.connected = connected;
  query.request_url = UpdateRequestAddress(base, "Brevanoth+Pagelathe");
  query.version_file = folder / "version.txt";
  query.agent = "Brevanoth Pagelathe 1.51";
  query.own_version = "1.51";
  query.product_page_url = kPage;
  query.texts = kTexts;
  return query;
}

TEST(UpdateCheck, WholeChecksAgainstALocalServer) {
  const struct {
    std::string body;
    bool newer;
    std::string message;
  } cases[] = {
      {"1.52\r\n", true, "New version: 1.52"},
      {"1.6", true, "New version: 1.6"},
      {"2.0\nnotes\n", true, "New version: 2.0"},
      {"1.51 \r\n", true, "New version: 1.51 "},
      {"1.51\r\n", false, "You have the last version."},
      {"1.5", false, "You have the last version."},
      {"1.100", false, "You have the last version."},
      {"", false, "You have the last version."},
  };
  LocalHttpServer server;
  for (const auto& c : cases) {
    TempFolder folder;
    server.SetBody(c.body);
    const UpdateResult result = CheckUpdate(QueryFor(server.BaseUrl(), folder));
    EXPECT_EQ(result.Newer(), c.newer) << c.body;
    EXPECT_EQ(result.message, c.message) << c.body;
    EXPECT_EQ(result.link, c.newer ? kPage : "") << c.body;
    // The answer stays beside the program, byte for byte.
    EXPECT_EQ(folder.Read("version.txt"), c.body);
  }
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), std::size(cases));
  for (const auto& request : requests) {
    EXPECT_EQ(request.target, "/cgi-bin/check_update.cgi?title=Brevanoth+Pagelathe");
    EXPECT_EQ(request.Header("User-Agent"), "Brevanoth Pagelathe 1.51");
  }
}

TEST(UpdateCheck, NoConnectionFetchesNothing) {
  LocalHttpServer server;
  server.SetBody("2.0");
  TempFolder folder;
  folder.Write("version.txt", "old");
  const UpdateResult result = CheckUpdate(QueryFor(server.BaseUrl(), folder, false));
  EXPECT_EQ(result.outcome, UpdateOutcome::kNotChecked);
  EXPECT_FALSE(result.message);
  EXPECT_FALSE(result.link);
  EXPECT_EQ(server.RequestCount(), 0u);
  EXPECT_EQ(folder.Read("version.txt"), "old");
}

TEST(UpdateCheck, UnreachableServerCannotConnectAndKeepsTheOldAnswer) {
  TempFolder folder;
  folder.Write("version.txt", "1.40\r\n");
  const std::string base = "http://127.0.0.1:" + std::to_string(testing::ClosedPort());
  const UpdateResult result = CheckUpdate(QueryFor(base, folder));
  EXPECT_EQ(result.outcome, UpdateOutcome::kCantConnect);
  EXPECT_EQ(result.message, "No server.");
  EXPECT_FALSE(result.link);
  EXPECT_EQ(folder.Read("version.txt"), "1.40\r\n");
}

TEST(UpdateCheck, WorkerObjectKeepsItsVerdict) {
  LocalHttpServer server;
  server.SetBody("1.52");
  TempFolder folder;
  TThreadUpdate thread(QueryFor(server.BaseUrl(), folder));
  EXPECT_EQ(thread.Result().outcome, UpdateOutcome::kNotChecked);
  const std::atomic<bool> stop{false};
  thread.Execute(stop);
  EXPECT_EQ(thread.Result().outcome, UpdateOutcome::kNewVersion);
  EXPECT_EQ(thread.Result().message, "New version: 1.52");
}

}  // namespace
}  // namespace pagelathe
