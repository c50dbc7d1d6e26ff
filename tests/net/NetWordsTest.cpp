// Field helpers, the error table and the time-limit timer.
#include <gtest/gtest.h>
#include <netdb.h>
#include <cerrno>
#include <chrono>
#include <sstream>

#include "net/NetWords.h"
#include "net/SocketErrors.h"
#include "net/TThreadTimer.h"

namespace pagelathe {
namespace {

TEST(NthWord, CutsAtEverySeparator) {
  struct Case {
    std::string text;
    char separator;
    int n;
    std::string expected;
  };
  const Case cases[] = {
      {"HTTP/1.1 200 OK", ' ', 2, "200"},
      {"a,,b", ',', 3, "b"},
      {"a,,b", ',', 2, ""},
      {"a,b", ',', 5, ""},
      {"http://host/dir", '/', 1, "http:"},
      {"http://host/dir", '/', 2, ""},
      {"http://host/dir", '/', 3, "host"},
      {"http://host/dir", '/', 4, "dir"},
      {"", '/', 1, ""},
      {"abc", '/', 1, "abc"},
      {"abc", '/', 0, ""},
      {"a/", '/', 2, ""},
      {std::string("x\0y", 3), '\0', 2, "y"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NthWord(c.text, c.separator, c.n), c.expected) << c.text << " " << c.n;
  }
}

TEST(NthPos, GivesTheSeparatorOrLengthPlusOne) {
  struct Case {
    std::string text;
    int n;
    int expected;
  };
  const Case cases[] = {
      {"http://host/", 3, 12}, {"http://host", 3, 12}, {"http://host/a", 1, 6}, {"", 1, 1},
      {"///", 2, 2},           {"a/b", 0, 4},
  };
  for (const Case& c : cases)
    EXPECT_EQ(NthPos(c.text, '/', c.n), c.expected) << c.text;
}

TEST(StreamLn, WritesTheTextAndCrLf) {
  std::ostringstream out;
  StreamLn(out, "abc");
  StreamLn(out, "");
  EXPECT_EQ(out.str(), "abc\r\n\r\n");
}

TEST(SocketErrorText, NumbersTextsAndUnknowns) {
  const std::pair<int, std::string> cases[] = {
      {10061, "10061:Connection refused"},
      {11001, "11001:Host not found"},
      {10035, "10035:Operation would block"},
      {10093, "10093:Successful WSAStartup not yet performed"},
      {12345, "Unknown Error No. 12345"},
      {0, ""},
      {10072, "Unknown Error No. 10072"},
  };
  for (const auto& [number, text] : cases)
    EXPECT_EQ(SocketErrorText(number), text);
  EXPECT_EQ(WinsockMessage[50].number, 0);
  EXPECT_STREQ(WinsockMessage[50].text, "Unrecognized error code");
}

TEST(WinsockErrorFromErrno, TranslatesTheSystemNumbers) {
  const std::pair<int, int> cases[] = {
      {ECONNREFUSED, 10061},
      {EAGAIN, 10035},
      {ENOTCONN, 10057},
      {ECONNRESET, 10054},
      {EPIPE, 10054},
      {ETIMEDOUT, 10060},
      {EHOSTUNREACH, 10065},
      {EADDRINUSE, 10048},
      {EBADF, 10009},
      {EINPROGRESS, 10035},
      {0, 0},
  };
  for (const auto& [system, winsock] : cases) {
    EXPECT_EQ(WinsockErrorFromErrno(system), winsock) << system;
  }
  EXPECT_EQ(WinsockErrorFromLookup(EAI_NONAME), 11001);
  EXPECT_EQ(WinsockErrorFromLookup(EAI_AGAIN), 11002);
  EXPECT_EQ(WinsockErrorFromLookup(EAI_FAIL), 11003);
}

TEST(TThreadTimer, ArmsOnlyWithIntervalEnabledAndHandler) {
  using namespace std::chrono_literals;
  struct Case {
    bool enabled;
    unsigned interval;
    bool handler;
    bool armed;
  };
  const Case cases[] = {
      {true, 100, true, true},
      {false, 100, true, false},
      {true, 0, true, false},
      {true, 100, false, false},
  };
  for (const Case& c : cases) {
    TThreadTimer timer;
    int ticks = 0;
    timer.SetEnabled(c.enabled);
    timer.SetInterval(c.interval);
    if (c.handler) timer.SetOnTimer([&ticks](TThreadTimer&) { ++ticks; });
    EXPECT_EQ(timer.Armed(), c.armed);
    EXPECT_EQ(timer.ProcessTimer(TThreadTimer::Clock::now() + 1h), c.armed);
    EXPECT_EQ(ticks, c.armed ? 1 : 0);
  }
}

TEST(TThreadTimer, SettingTheSameValueDoesNotRestartTheCount) {
  using namespace std::chrono_literals;
  using Clock = TThreadTimer::Clock;
  int ticks = 0;
  TThreadTimer timer;
  timer.SetInterval(1000);
  timer.SetOnTimer([&ticks](TThreadTimer&) { ++ticks; });
  // A tick far ahead moves the next one to a known time: one interval after it.
  const auto far = Clock::now() + 24h;
  ASSERT_TRUE(timer.ProcessTimer(far));
  // The same interval and the same state again change nothing: the count goes on.
  timer.SetInterval(1000);
  timer.SetEnabled(true);
  EXPECT_FALSE(timer.ProcessTimer(Clock::now() + 1001ms));
  EXPECT_TRUE(timer.ProcessTimer(far + 1000ms));
  EXPECT_EQ(ticks, 2);
  // A changed property starts a new count from now.
  for (int step = 0; step < 2; ++step) {
    ASSERT_TRUE(timer.ProcessTimer(far + 24h));
    if (step == 0) {
      timer.SetInterval(500);
    } else {
      timer.SetEnabled(false);
      EXPECT_FALSE(timer.ProcessTimer(far + 48h));
      timer.SetEnabled(true);
    }
    EXPECT_TRUE(timer.ProcessTimer(Clock::now() + 1001ms)) << step;
  }
}

}  // namespace
}  // namespace pagelathe
