// The link check against servers on 127.0.0.1: one table of server behaviours and the state
// each gives, the limits on connections, a host that never answers, and the rules that need
// no network.
#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <numeric>

#include "support/TempFolder.h"
#include "support/TestWebServer.h"
#include "tools/check/LinkCheck.h"

namespace pagelathe {
namespace {

using namespace testing;  // the test web server, its replies and helpers

// The server's side of the table: what each path answers (the number of requests for a path
// so far tells "429 then 200" from the rest).
TestReply Behave(const TestRequest& r, int asked, const std::string& secure_url) {
  const std::string p = r.target.substr(0, r.target.find('?'));
  const auto reply = [&r](int code, const std::string& extra = "") {
    return TestReply{HttpReply(r, code, extra, "<html>page</html>")};
  };
  if (p == "/404" || p == "/410" || p == "/500") return reply(std::stoi(p.substr(1)));
  if (p == "/moved") return reply(301, "Location: /ok\r\n");
  if (p == "/secure") return reply(308, "Location: " + secure_url + "\r\n");
  if (p.starts_with("/chain/")) {
    const int step = std::stoi(p.substr(7));
    return reply(302,
                 "Location: " + (step > 1 ? "/chain/" + std::to_string(step - 1) : "/ok") + "\r\n");
  }
  if (p == "/loop/a") return reply(302, "Location: /loop/b\r\n");
  if (p == "/loop/b") return reply(307, "Location: /loop/a\r\n");
  if (p == "/nohead") return reply(r.method == "HEAD" ? 405 : 200);
  if (p == "/busy") return reply(asked == 1 ? 429 : 200, "Retry-After: 0\r\n");
  if (p == "/limited") return reply(429, "Retry-After: 0\r\n");
  if (p == "/private") return reply(403);
  if (p == "/login") return reply(401);
  if (p == "/challenge") return reply(403, "cf-mitigated: challenge\r\n");
  if (p == "/reset") return TestReply{"", false, false, true};
  if (p == "/silent") return TestReply{"", false, true};
  return reply(200);
}

TEST(LinkCheck, EachServerBehaviourGivesItsState) {
  testing::TempFolder folder;
  std::string error;
  ASSERT_TRUE(testing::MakeTestAuthority(folder.Path(), error)) << error;
  const auto page = [](const TestRequest& r) { return TestReply{HttpReply(r, 200, "", "tls")}; };
  TestWebServer good(page, folder / "good.pem", folder / "good.key");
  TestWebServer wrong(page, folder / "wrong.pem", folder / "wrong.key");
  std::mutex mutex;
  std::map<std::string, int> asked;
  TestWebServer server([&](const TestRequest& r) {
    int count = 0;
    {
      const std::lock_guard lock(mutex);
      count = ++asked[r.target];
    }
    return Behave(r, count, good.Url("/"));
  });
  const std::string refused = "http://127.0.0.1:" + std::to_string(testing::ClosedPort()) + "/";
  struct Case {
    std::string url;
    LinkState state;
    int code;
    std::string outcome;                     // found in the final URL or the message
    std::vector<std::string> requests = {};  // what the server saw, when it matters
    std::string accept = "";
    double timeout = 20;
  };
  const std::string s = server.Url("");
  const Case cases[] = {
      {s + "/ok", LinkState::kOk, 200, "", {"HEAD /ok"}},
      {s + "/404", LinkState::kBroken, 404, "HTTP 404", {"HEAD /404", "GET /404"}},
      {s + "/410", LinkState::kBroken, 410, "HTTP 410"},
      {s + "/500", LinkState::kBroken, 500, "HTTP 500"},
      {s + "/moved", LinkState::kRedirected, 200, s + "/ok"},
      {s + "/secure", LinkState::kRedirected, 200, good.Url("/")},
      {s + "/chain/3", LinkState::kRedirected, 200, "temporary redirect, 3 hops"},
      {s + "/loop/a", LinkState::kBroken, 307, "redirect loop: back to " + s + "/loop/a"},
      {s + "/nohead", LinkState::kOk, 200, "", {"HEAD /nohead", "GET /nohead"}},
      {s + "/busy", LinkState::kOk, 200, "", {"HEAD /busy", "HEAD /busy"}},
      {s + "/limited",
       LinkState::kBlocked,
       429,
       "HTTP 429, still after 2 retries",
       {"HEAD /limited", "HEAD /limited", "HEAD /limited"}},
      {s + "/private", LinkState::kBlocked, 403, "HTTP 403"},
      {s + "/login", LinkState::kBlocked, 401, "HTTP 401"},
      {s + "/challenge", LinkState::kBlocked, 403, "bot challenge"},
      {s + "/silent", LinkState::kTimeout, 0, "no answer within 0.5 s", {}, "", 0.5},
      {s + "/reset", LinkState::kBroken, 0, "reset"},
      {refused, LinkState::kBroken, 0, "cannot connect: Connection refused"},
      {good.Url("/page"), LinkState::kOk, 200, ""},
      {wrong.Url("/page"), LinkState::kBroken, 0,
       "TLS: certificate verify failed: the certificate is not for this host (127.0.0.1)"},
      {s + "/private?accepted", LinkState::kOk, 403, "", {}, "200..299,403"},
      {s + "/404?accepted", LinkState::kBroken, 404, "", {}, "200,400..403"},
  };
  for (const Case& c : cases) {
    LinkSet links;
    links.Add(c.url, {"index.html", 1});
    CheckOptions options;
    options.tls.ca_file = folder / "ca.pem";
    options.timeout_s = c.timeout;
    if (!c.accept.empty()) options.accept = AcceptCodes::Parse(c.accept);
    CheckLinks(links, options, {});
    const CheckedLink& link = links[0];
    EXPECT_TRUE(link.checked) << c.url;
    EXPECT_EQ(StateName(link.state), std::string(StateName(c.state)))
        << c.url << " " << link.message;
    EXPECT_EQ(link.code, c.code) << c.url;
    EXPECT_NE((link.final_url + " " + link.message).find(c.outcome), std::string::npos)
        << c.url << ": " << link.final_url << " " << link.message;
    if (!c.requests.empty()) {
      EXPECT_EQ(server.Seen(c.url.substr(s.size())), c.requests) << c.url;
    }
  }
  // The redirect's chain is kept, its kind too.
  LinkSet links;
  links.Add(s + "/chain/2", {"index.html", 1});
  links.Add(s + "/moved#part", {"index.html", 2});
  CheckLinks(links, {}, {});
  EXPECT_EQ(links[0].chain, (std::vector<std::string>{s + "/chain/1", s + "/ok"}));
  EXPECT_FALSE(links[0].permanent);
  EXPECT_TRUE(links[1].permanent);
}

TEST(LinkCheck, ConnectionsStayWithinThePerHostLimit) {
  // Every answer waits until as many requests as the limit allows are under way at once.
  std::mutex mutex;
  std::condition_variable changed;
  int in_flight = 0, most = 0;
  TestWebServer server([&](const TestRequest& r) {
    std::unique_lock lock(mutex);
    most = std::max(most, ++in_flight);
    changed.notify_all();
    changed.wait_for(lock, std::chrono::seconds(10), [&] { return most >= 3; });
    --in_flight;
    return TestReply{HttpReply(r, 200)};
  });
  LinkSet links;
  for (int i = 0; i < 12; ++i)
    links.Add(server.Url("/p" + std::to_string(i)), {"index.html", i + 1});
  CheckOptions options;
  options.per_host = 3;
  CheckLinks(links, options, {});
  EXPECT_EQ(most, 3);
  for (const CheckedLink& link : links)
    EXPECT_EQ(link.state, LinkState::kOk) << link.url;
  EXPECT_LE(server.ConnectionCount(), 3);  // connections are reused
}

TEST(LinkCheck, ConnectionsAreReusedWhenThereAreMoreHostsThanConnections) {
  std::deque<TestWebServer> hosts;
  LinkSet links;
  for (int i = 0; i < 200; ++i) {
    if (i % 50 == 0)
      hosts.emplace_back([](const TestRequest& r) { return TestReply{HttpReply(r, 200)}; });
    links.Add(hosts.back().Url("/p" + std::to_string(i)), {"index.html", i + 1});
  }
  CheckOptions options;
  options.max_connections = options.per_host = 4;
  CheckLinks(links, options, {});
  const auto add = [](int sum, const TestWebServer& host) { return sum + host.ConnectionCount(); };
  EXPECT_LT(std::accumulate(hosts.begin(), hosts.end(), 0, add), 50) << "for 200 requests";
}

TEST(LinkCheck, WhatNeverAnswersCostsOneRoundOfTimeouts) {
  // A host that never answers, and a folder that never answers on a host that does.
  for (const bool whole_host : {true, false}) {
    TestWebServer server([whole_host](const TestRequest& r) {
      if (whole_host || r.target.starts_with("/hung/")) return TestReply{"", false, true};
      return TestReply{HttpReply(r, 200)};
    });
    LinkSet links;
    for (int i = 0; i < 10; ++i) {
      links.Add(server.Url("/hung/p" + std::to_string(i)), {"index.html", i + 1});
      if (!whole_host) links.Add(server.Url("/ok/p" + std::to_string(i)), {"index.html", i + 1});
    }
    CheckOptions options;
    options.per_host = 2;
    options.timeout_s = 0.5;
    CheckLinks(links, options, {});
    for (const CheckedLink& link : links) {
      const bool hung = link.url.find("/hung/") != std::string::npos;
      EXPECT_EQ(link.state, hung ? LinkState::kTimeout : LinkState::kOk) << link.url;
    }
    // Two requests at most (a slow server may not even have read them before the time-out).
    EXPECT_LE(server.RequestCount(), whole_host ? 2 : 12) << whole_host;
  }
}

TEST(LinkCheck, RulesWithoutNetwork) {
  // Retry-After in seconds or as a date, capped; else a doubling backoff with some jitter.
  const long long now = 1700000000;  // Tue, 14 Nov 2023 22:13:20 GMT
  EXPECT_EQ(RetryDelay("7", 1, 60, now, 0), 7);
  EXPECT_EQ(RetryDelay("3600", 1, 60, now, 0), 60);
  EXPECT_EQ(RetryDelay("Tue, 14 Nov 2023 22:13:50 GMT", 1, 60, now, 0), 30);
  EXPECT_EQ(RetryDelay("Tue, 14 Nov 2023 22:00:00 GMT", 1, 60, now, 0), 0);
  EXPECT_EQ(RetryDelay("", 1, 60, now, 0), 1);
  EXPECT_EQ(RetryDelay("soon", 3, 60, now, 0.5), 4 * 1.125);
  EXPECT_EQ(RetryDelay("", 30, 60, now, 0.9), 60);
  // Accepted codes: ranges and single codes; anything else is refused with its part named.
  const AcceptCodes codes = AcceptCodes::Parse("200..204, 403,");
  EXPECT_TRUE(codes.Accepts(204));
  EXPECT_TRUE(codes.Accepts(403));
  EXPECT_FALSE(codes.Accepts(205));
  for (const char* bad : {"", "2xx", "300..200", "99", "200..", "1000"})
    EXPECT_THROW(static_cast<void>(AcceptCodes::Parse(bad)), std::invalid_argument) << bad;
  EXPECT_EQ(StateOfAnswer(200, 0, true, {}), LinkState::kBlocked);
  EXPECT_EQ(StateOfAnswer(200, 2, false, {}), LinkState::kRedirected);
  EXPECT_EQ(StateOfAnswer(302, 0, false, {}), LinkState::kBroken);
}

}  // namespace
}  // namespace pagelathe
