// The socket client against scripted peers on 127.0.0.1: lines, captures, limits, cancel,
// the time limit, lookups, connection failures, status reports and the general server.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <sstream>

#include "ScriptedPeer.h"
#include "net/TNMGeneralServer.h"
#include "net/TPowersock.h"
#include "platform/Letters.h"

namespace pagelathe {
namespace {

using testing::ClosedPort;
using testing::MessageOf;
using testing::PeerConnection;
using testing::ScriptedPeer;

// A client connected to `peer`.
void ConnectTo(TPowersock& client, const ScriptedPeer& peer) {
  client.Host = "127.0.0.1";
  client.Port = peer.Port();
  client.Connect();
  ASSERT_TRUE(client.IsConnected());
}

TEST(TPowersock, ReadLnTakesOneLineAndLeavesTheRest) {
  struct Case {
    std::string sent;
    std::vector<std::string> lines;  // what ReadLn returns, in order, then "" at the end
  };
  const Case cases[] = {
      {"HTTP/1.0 200 OK\r\nX", {"HTTP/1.0 200 OK\r\n"}},
      {"a\nb\r\n\r\n", {"a\n", "b\r\n", "\r\n"}},
      {"no line end", {}},  // a part of a line is dropped at the end
      {std::string("z\0y\n", 4), {std::string("z\0y\n", 4)}},
  };
  for (const Case& c : cases) {
    ScriptedPeer peer([&c](PeerConnection& connection) {
      connection.Send(c.sent);
      connection.Close();
    });
    TPowersock client;
    ConnectTo(client, peer);
    for (const std::string& line : c.lines)
      EXPECT_EQ(client.ReadLn(), line);
    if (c.sent.back() == 'X') {
      EXPECT_EQ(client.Read(1), "X");
    }
    EXPECT_EQ(client.ReadLn(), "");
    EXPECT_EQ(client.ReadLn(), "");  // and stays so
  }
}

TEST(TPowersock, ReadLnCutsALineLongerThanTheBuffer) {
  const std::string long_line = std::string(70000, 'a') + "\r\n";
  ScriptedPeer peer([&](PeerConnection& connection) {
    connection.Send(long_line + "next\r\n");
    connection.WaitForClientClose();
  });
  TPowersock client;
  ConnectTo(client, peer);
  EXPECT_EQ(client.ReadLn(), std::string(65536, 'a'));
  EXPECT_EQ(client.ReadLn(), std::string(70000 - 65536, 'a') + "\r\n");
  EXPECT_EQ(client.ReadLn(), "next\r\n");
  client.Disconnect();
}

TEST(TPowersock, CaptureStringLimits) {
  struct Case {
    int32_t limit;
    bool close_after;
    size_t expected;
  };
  // With a limit the first chunk is kept whole; without one everything up to the close.
  const Case cases[] = {{10, false, 1000}, {-1, true, 1000 + 100000 + 1}};
  for (const Case& c : cases) {
    // The peer sends each piece once the client has received the one before, so that the
    // pieces arrive as chunks of their own.
    std::atomic<int64_t> received{0};
    const auto received_at_least = [&received](int64_t count) {
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      while (received < count && std::chrono::steady_clock::now() < deadline)
        ::poll(nullptr, 0, 1);
    };
    ScriptedPeer peer([&](PeerConnection& connection) {
      connection.Send(std::string(1000, 'a'));
      if (!c.close_after) {
        connection.WaitForClientClose();
        return;
      }
      received_at_least(1000);
      connection.Send(std::string(100000, 'b'));
      received_at_least(101000);
      connection.Send("!");  // a last chunk of a single byte
      connection.Close();
    });
    TPowersock client;
    ConnectTo(client, peer);
    int packets = 0;
    client.OnPacketRecvd = [&packets, &received](TPowersock& sender) {
      ++packets;
      received = sender.ReceivedTotal;
    };
    std::string text = "old";
    client.CaptureString(text, c.limit);
    EXPECT_EQ(text.size(), c.expected);
    EXPECT_EQ(client.ReceivedTotal, static_cast<int64_t>(c.expected));
    EXPECT_GE(packets, 1);
    if (c.close_after) {
      EXPECT_EQ(text.back(), '!');
    }
    client.Disconnect();
  }
}

TEST(TPowersock, CaptureStreamWithoutLimitMakesOnePass) {
  ScriptedPeer peer([](PeerConnection& connection) { connection.WaitForClientClose(); });
  TPowersock client;
  ConnectTo(client, peer);
  std::stringstream stream;
  client.CaptureStream(stream, -1);  // nothing waits: returns after one attempt
  EXPECT_EQ(stream.str(), "");
  client.Disconnect();
}

TEST(TPowersock, WriteStopsAtZeroByteAndWritelnAddsCrLf) {
  std::string received;
  ScriptedPeer peer(
      [&received](PeerConnection& connection) { received = connection.ReceiveCount(9); });
  TPowersock client;
  ConnectTo(client, peer);
  client.Writeln("");
  client.Write(std::string("abc\0def", 7));
  client.Writeln("xy");
  client.Write("");
  peer.Join();
  EXPECT_EQ(received, "\r\nabcxy\r\n");
  EXPECT_THROW(client.Write(std::string(70000, 'x')), ERangeError);
  client.Disconnect();
}

TEST(TPowersock, TransactionSetsTheReplyCode) {
  struct Case {
    std::string reply;
    int16_t code;
  };
  const Case cases[] = {{"250 OK\r\n", 250}, {"OK\r\n", 0}, {"0042x\r\n", 42}};
  for (const Case& c : cases) {
    std::string command;
    ScriptedPeer peer([&](PeerConnection& connection) {
      command = connection.ReceiveUntil("\r\n");
      connection.Send(c.reply);
      connection.WaitForClientClose();
    });
    TPowersock client;
    ConnectTo(client, peer);
    client.ReplyCode = 7;
    EXPECT_EQ(client.Transaction("NOOP"), c.reply);
    EXPECT_EQ(client.ReplyCode, c.code);
    EXPECT_EQ(client.ReplyText, c.reply);
    client.Disconnect();
    peer.Join();
    EXPECT_EQ(command, "NOOP\r\n");
  }
  ScriptedPeer too_big([](PeerConnection& connection) {
    connection.ReceiveUntil("\r\n");
    connection.Send("99999 big\r\n");
    connection.WaitForClientClose();
  });
  TPowersock client;
  ConnectTo(client, too_big);
  EXPECT_THROW(client.Transaction("X"), ERangeError);
}

TEST(TPowersock, TimeLimitEndsACaptureThatNeverEnds) {
  // A byte every 100 ms for a minute: the limit covers the whole capture, receiving does not
  // start it again, so the capture ends long before the peer would.
  ScriptedPeer peer([](PeerConnection& connection) {
    for (int i = 0; i < 600; ++i) {
      connection.Send("x");
      pollfd entry{connection.Fd(), POLLIN, 0};
      if (::poll(&entry, 1, 100) > 0) return;  // the client has gone
    }
  });
  TPowersock client;
  ConnectTo(client, peer);
  client.TimeOut = 1000;
  std::string text;
  EXPECT_EQ(MessageOf<EAbortError>([&] { client.CaptureString(text, -1); }),
            "Socket capture aborted");
  EXPECT_TRUE(client.TimedOut());
  EXPECT_FALSE(client.CancelRequested());
  EXPECT_GE(text.size(), 1U);
  EXPECT_LT(text.size(), 600U);
  client.Disconnect();
}

TEST(TPowersock, SendThatWouldBlockEndsWithTheTimeLimit) {
  // The peer reads nothing until the client is done; the send waits for room and the limit
  // ends the wait.
  std::atomic<bool> done{false};
  ScriptedPeer peer([&done](PeerConnection&) {
    while (!done)
      ::poll(nullptr, 0, 10);
  });
  TPowersock client;
  ConnectTo(client, peer);
  client.TimeOut = 300;
  EXPECT_EQ(MessageOf<EAbortError>([&] { client.SendAll(std::string(64 << 20, 's')); }),
            "Socket send aborted");
  EXPECT_TRUE(client.TimedOut());
  done = true;
  client.Disconnect();
}

TEST(TPowersock, CancelFromThePumpEndsEveryWait) {
  struct Case {
    const char* name;
    std::function<void(TPowersock&)> action;
    std::string message;
  };
  const Case cases[] = {
      {"ReadLn", [](TPowersock& c) { (void)c.ReadLn(); }, "Socket readln aborted"},
      {"CaptureString",
       [](TPowersock& c) {
         std::string text;
         c.CaptureString(text, -1);
       },
       "Socket capture aborted"},
      {"Read", [](TPowersock& c) { (void)c.Read(5); }, "Socket send aborted"},
  };
  for (const Case& c : cases) {
    ScriptedPeer peer([](PeerConnection& connection) { connection.WaitForClientClose(); });
    TPowersock client;
    ConnectTo(client, peer);
    int pumps = 0;
    client.Pump = [&] {
      if (++pumps == 20) client.Cancel();
    };
    EXPECT_EQ(MessageOf<EAbortError>([&] { c.action(client); }), c.message) << c.name;
    EXPECT_FALSE(client.CancelRequested()) << c.name;
    EXPECT_GE(pumps, 20);
    client.Pump = nullptr;
    client.Disconnect();
  }
}

TEST(TPowersock, DottedHostNeedsNoLookupAndNamesDo) {
  ScriptedPeer peer([](PeerConnection& connection) { connection.WaitForClientClose(); }, 2);
  for (const char* host : {"127.0.0.1", "localhost"}) {
    TPowersock client;
    int resolved = 0;
    client.OnHostResolved = [&resolved](TPowersock&) { ++resolved; };
    client.Host = host;
    client.Port = peer.Port();
    client.Connect();
    EXPECT_TRUE(client.IsConnected()) << host;
    EXPECT_EQ(resolved, std::string(host) == "localhost" ? 1 : 0) << host;
    EXPECT_EQ(client.GetRemoteIP(), "127.0.0.1");
    client.Disconnect();
  }
}

TEST(TPowersock, UnknownHostGivesNullRemoteAddress) {
  struct Case {
    bool handler;
    bool handled;
    int expected_calls;
  };
  const Case cases[] = {{false, false, 0}, {true, false, 1}, {true, true, 1}};
  for (const Case& c : cases) {
    TPowersock client;
    client.Host = "no-such-host.invalid";
    client.Port = 80;
    int calls = 0;
    if (c.handler) {
      client.OnInvalidHost = [&](bool& handled) {
        ++calls;
        handled = c.handled;
      };
    }
    EXPECT_EQ(MessageOf<ESockError>([&] { client.Connect(); }), "Null Remote Address");
    EXPECT_EQ(calls, c.expected_calls);
  }
  // Alone, the lookup tells what went wrong.
  TPowersock client;
  client.Host = "no-such-host.invalid";
  EXPECT_EQ(MessageOf<ESockError>([&] { client.ResolveRemoteHost(); }), "Host Lookup Failed");
}

TEST(TPowersock, ErrorsCarryTheirKindAndConnectDecidesByIt) {
  // A lookup stopped by the time limit or a cancel ends the connect with its own error; one
  // that finds nothing becomes "Null Remote Address" (no handler mends the host here). The
  // pump runs inside the lookup's wait, so the stop comes while the lookup waits.
  struct Case {
    const char* name;
    std::function<void(TPowersock&)> during_lookup;
    SockErrorKind kind;
    const char* message;
  };
  const Case cases[] = {
      {"time limit", [](TPowersock& c) { c.TimerFired(); }, SockErrorKind::kLookupTimedOut,
       "Host Lookup Timed Out"},
      {"cancel", [](TPowersock& c) { c.Cancel(); }, SockErrorKind::kLookupCanceled,
       "Host Lookup Canceled"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TPowersock client;
    client.Host = "no-such-host.invalid";
    client.Port = 80;
    client.Pump = [&] { c.during_lookup(client); };
    try {
      client.Connect();
      ADD_FAILURE() << "no error";
    } catch (const ESockError& error) {
      EXPECT_EQ(error.Kind(), c.kind);
      EXPECT_EQ(std::string(error.what()), c.message);
    }
  }
  const auto kind_of = [](const std::function<void()>& action) {
    try {
      action();
    } catch (const ESockError& error) {
      return error.Kind();
    }
    return SockErrorKind::kStartupFailed;  // not raised by what these cases do
  };
  TPowersock unknown;
  unknown.Host = "no-such-host.invalid";
  EXPECT_EQ(kind_of([&] { unknown.Connect(); }), SockErrorKind::kNullRemoteAddress);
  EXPECT_EQ(kind_of([&] { unknown.ResolveRemoteHost(); }), SockErrorKind::kLookupFailed);
  TPowersock refused;
  refused.Host = "127.0.0.1";
  refused.Port = ClosedPort();
  EXPECT_EQ(kind_of([&] { refused.Connect(); }), SockErrorKind::kConnectionFailed);
  TPowersock idle;
  EXPECT_EQ(kind_of([&] { (void)idle.Read(0); }), SockErrorKind::kSocketCall);
}

TEST(TPowersock, InvalidHostHandlerMayMendTheHost) {
  ScriptedPeer peer([](PeerConnection& connection) { connection.WaitForClientClose(); });
  TPowersock client;
  client.Host = "no-such-host.invalid";
  client.Port = peer.Port();
  client.OnInvalidHost = [&client](bool& handled) {
    client.Host = "127.0.0.1";
    handled = true;
  };
  client.Connect();
  EXPECT_TRUE(client.IsConnected());
  client.Disconnect();
}

TEST(TPowersock, RefusedConnectionFails) {
  TPowersock client;
  client.Host = "127.0.0.1";
  client.Port = ClosedPort();
  int failed = 0;
  client.OnConnectionFailed = [&failed](TPowersock&) { ++failed; };
  EXPECT_EQ(MessageOf<ESockError>([&] { client.Connect(); }), "Connection Failed");
  EXPECT_EQ(failed, 1);
  EXPECT_EQ(client.GetLastErrorNo(), 10061);
  EXPECT_EQ(client.SocketErrorStr(static_cast<uint16_t>(client.GetLastErrorNo())),
            "10061:Connection refused");
  EXPECT_FALSE(client.IsConnected());
}

TEST(TPowersock, ConnectTwiceAndAgainAfterDisconnect) {
  ScriptedPeer peer([](PeerConnection& connection) { connection.WaitForClientClose(); }, 2);
  TPowersock client;
  int connects = 0, disconnects = 0;
  client.OnConnect = [&connects](TPowersock&) { ++connects; };
  client.OnDisconnect = [&disconnects](TPowersock&) { ++disconnects; };
  ConnectTo(client, peer);
  EXPECT_EQ(MessageOf<ESockError>([&] { client.Connect(); }), "Already connected");
  client.Disconnect();
  EXPECT_FALSE(client.IsConnected());
  ConnectTo(client, peer);
  client.Disconnect();
  EXPECT_EQ(connects, 2);
  EXPECT_EQ(disconnects, 2);
}

TEST(TPowersock, CloseNotificationLeavesUnreadBytes) {
  ScriptedPeer peer([](PeerConnection& connection) {
    connection.Send("abc");
    connection.Close();
  });
  TPowersock client;
  ConnectTo(client, peer);
  peer.Join();
  // Let the notifications run while the bytes wait: the socket must stay open.
  for (int i = 0; i < 20; ++i)
    client.ProcessNotifications(5);
  EXPECT_TRUE(client.IsConnected());
  EXPECT_EQ(client.Read(3), "abc");
  EXPECT_EQ(client.ReadLn(), "");
}

TEST(TPowersock, ResetInTheMiddleEndsWithResultOrError) {
  ScriptedPeer peer([](PeerConnection& connection) {
    connection.Send(std::string(5000, 'r'));
    connection.Reset();
  });
  TPowersock client;
  ConnectTo(client, peer);
  std::string text;
  try {
    client.CaptureString(text, -1);
  } catch (const ESockError& error) {
    EXPECT_EQ(std::string(error.what()), "10054:Connection reset by peer");
  }
  EXPECT_LE(text.size(), 5000U);
}

TEST(TPowersock, CertifyConnectAsksTheHandlerOnce) {
  TPowersock client;
  EXPECT_EQ(MessageOf<Exception>([&] { client.CertifyConnect(); }), "Not Connected");
  int calls = 0;
  client.OnNotConnected = [&calls](bool& handled) {
    ++calls;
    handled = true;
  };
  EXPECT_EQ(MessageOf<Exception>([&] { client.CertifyConnect(); }), "Not Connected");
  EXPECT_EQ(calls, 1);
}

TEST(TPowersock, StatusTextsFollowTheReportLevel) {
  struct Case {
    int level;
    bool sees_sending;
    bool sees_write;
  };
  const Case cases[] = {{0, false, false}, {4, true, false}, {8, true, true}};
  for (const Case& c : cases) {
    ScriptedPeer peer([](PeerConnection& connection) { connection.WaitForClientClose(); });
    TPowersock client;
    ConnectTo(client, peer);
    client.ReportLevel = c.level;
    std::vector<std::string> statuses;
    client.OnStatus = [&statuses](TPowersock&, const std::string& text) {
      statuses.push_back(text);
      throw Exception("a failing handler is ignored");
    };
    client.Write("x");
    auto seen = [&statuses](const char* text) {
      return std::find(statuses.begin(), statuses.end(), text) != statuses.end();
    };
    EXPECT_EQ(seen("Sending Buffer"), c.sees_sending) << c.level;
    EXPECT_EQ(seen("Write"), c.sees_write) << c.level;
    EXPECT_EQ(client.LastStatus.empty(), c.level == 0);
    client.Disconnect();
  }
}

TEST(TPowersock, SocketErrorEventComesBeforeTheException) {
  TPowersock client;
  std::vector<uint16_t> numbers;
  client.OnSocketError = [&numbers](TPowersock&, uint16_t number, const std::string&) {
    numbers.push_back(number);
  };
  // Not connected: a read fails with "socket is not connected".
  EXPECT_EQ(MessageOf<ESockError>([&] { (void)client.Read(0); }), "10057:Socket is not connected");
  EXPECT_EQ(numbers, std::vector<uint16_t>{10057});
  client.SetWSAError(10061, "");
  EXPECT_EQ(client.GetLastErrorNo(), 10061);
  EXPECT_EQ(numbers.back(), 10061);
}

// Answers each line with "250 " and the line in capitals.
class UpperServer : public TNMGeneralServer {
 public:
  using TNMGeneralServer::TNMGeneralServer;
  void Serve() override {
    for (;;) {
      const std::string line = ReadLn();
      if (line.empty()) return;
      Write("250 " + AsciiUpperCase(line));
    }
  }

 protected:
  std::unique_ptr<TNMGeneralServer> CreateClientCopy() override {
    auto copy = std::make_unique<UpperServer>();
    MarkAsCopy(*copy);
    return copy;
  }
};

TEST(TNMGeneralServer, ServesEachClientOnItsOwnThread) {
  UpperServer server;
  server.Port = 0;
  server.Loaded();
  const int port = server.LocalPort();
  ASSERT_GT(port, 0);
  EXPECT_EQ(server.GetPortString(),
            "," + std::to_string(port >> 8) + "," + std::to_string(port & 255));
  int contacts = 0;
  server.OnClientContact = [&contacts](TPowersock&) { ++contacts; };
  for (const char* word : {"hello", "again"}) {
    TPowersock client;
    client.Pump = [&server] { server.ProcessNotifications(0); };
    client.Host = "127.0.0.1";
    client.Port = port;
    client.Connect();
    EXPECT_EQ(client.Transaction(word), "250 " + AsciiUpperCase(word) + "\r\n");
    EXPECT_EQ(client.ReplyCode, 250);
    client.Disconnect();
  }
  EXPECT_EQ(contacts, 2);
}

TEST(TNMGeneralServer, DestroyingTheServerEndsItsClients) {
  auto server = std::make_unique<UpperServer>();
  server->Loaded();
  TPowersock client;
  client.Pump = [&server] { server->ProcessNotifications(0); };
  client.Host = "127.0.0.1";
  client.Port = server->LocalPort();
  client.Connect();
  client.Pump = nullptr;
  for (int i = 0; i < 1000 && server->ClientCount() == 0; ++i)
    server->ProcessNotifications(5);
  EXPECT_EQ(server->ClientCount(), 1);
  server.reset();  // the client copy waits in ReadLn: the server's destruction cancels it
  // The listening socket resets on close and its accepted sockets inherit that.
  std::string line = "still open";
  try {
    line = client.ReadLn();
  } catch (const ESockError& error) {
    line = error.what();
  }
  EXPECT_TRUE(line.empty() || line == "10054:Connection reset by peer") << line;
}

}  // namespace
}  // namespace pagelathe
