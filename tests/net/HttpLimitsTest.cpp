// The HTTP client against hostile servers: endless bodies and headers, one time limit over
// the whole header, and the size limits of the header and the body.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include "HttpPeer.h"
#include "ScriptedPeer.h"
#include "net/TNMHTTP.h"

namespace pagelathe {
namespace {

using testing::HttpPeer;
using testing::MessageOf;
using testing::PeerConnection;
using testing::ScriptedPeer;

// Sends `chunk` again and again until the client has gone.
void SendUntilTheClientCloses(PeerConnection& connection, const std::string& chunk) {
  while (::send(connection.Fd(), chunk.data(), chunk.size(), MSG_NOSIGNAL) > 0) {
  }
}

// Header lines of `line_bytes` each (the last line break included) up to `total` bytes.
std::string HeaderLines(size_t total, size_t line_bytes) {
  std::string lines;
  lines.reserve(total);
  while (lines.size() + line_bytes <= total)
    lines.append("X-Filler: ").append(line_bytes - 12, 'h').append("\r\n");
  return lines;
}

TEST(TNMHTTP, HostileServersEndWithAResultOrAnError) {
  // A header just under the limit is read whole; one of 2 MB ends the request.
  {
    const std::string status = "HTTP/1.0 200 OK\r\n";
    const std::string fields = "X-Big: " + std::string((1 << 20) - 200, 'h') + "\r\n";
    HttpPeer server({status + fields + "\r\nbody"});
    TNMHTTP http;
    http.Get(server.Url("/"));
    EXPECT_EQ(http.Body, "body");
    EXPECT_EQ(http.Header, status + fields + "\r\n");
  }
  for (const size_t line_bytes : {size_t{1000}, size_t{70000}}) {  // short lines, cut lines
    HttpPeer server({"HTTP/1.0 200 OK\r\n" + HeaderLines(2 << 20, line_bytes) + "\r\nbody"});
    TNMHTTP http;
    EXPECT_EQ(MessageOf<Exception>([&] { http.Get(server.Url("/")); }),
              "The response header is larger than 1 MB")
        << line_bytes;
    EXPECT_FALSE(http.IsConnected());
    EXPECT_LE(http.Header.size(), (1U << 20) + 65536);
  }
  // A body without end under a time limit: the peer sends until the client gives up.
  {
    ScriptedPeer endless([](PeerConnection& connection) {
      connection.ReceiveRequest();
      connection.Send("HTTP/1.0 200 OK\r\n\r\n");
      SendUntilTheClientCloses(connection, std::string(4096, 'e'));
    });
    TNMHTTP http;
    http.TimeOut = 500;
    EXPECT_EQ(MessageOf<EAbortError>([&] { http.Get(endless.Url("/")); }),
              "Socket capture aborted");
    EXPECT_FALSE(http.IsConnected());
    EXPECT_FALSE(http.Body.empty());
  }
  // A reset in the middle of the body.
  {
    ScriptedPeer reset([](PeerConnection& connection) {
      connection.ReceiveRequest();
      connection.Send("HTTP/1.0 200 OK\r\n\r\n" + std::string(3000, 'r'));
      connection.Reset();
    });
    TNMHTTP http;
    try {
      http.Get(reset.Url("/"));
      EXPECT_LE(http.Body.size(), 3000U);
    } catch (const ESockError& error) {
      EXPECT_EQ(std::string(error.what()), "10054:Connection reset by peer");
    }
    EXPECT_FALSE(http.IsConnected());
  }
}

// One time limit covers the whole header: header lines that keep coming, slowly or as fast as
// the peer can send them, are stopped by it (or, when fast, by the size bound first). The slow
// peer would end its header after a minute, so a limit that each line started again would let
// the request succeed.
TEST(TNMHTTP, HeaderLinesWithoutEndAreStoppedByOneTimeLimit) {
  struct Case {
    const char* name;
    bool slow;
  };
  for (const Case c :
       {Case{"a line every 100 ms", true}, Case{"lines as fast as they go", false}}) {
    ScriptedPeer peer([&c](PeerConnection& connection) {
      connection.ReceiveRequest();
      connection.Send("HTTP/1.0 200 OK\r\n");
      if (!c.slow) {
        SendUntilTheClientCloses(connection, "X-Line: more\r\n");
        return;
      }
      for (int i = 0; i < 600; ++i) {
        connection.Send("X-Line: more\r\n");
        pollfd entry{connection.Fd(), POLLIN, 0};
        if (::poll(&entry, 1, 100) > 0) return;  // the client has gone
      }
      connection.Send("\r\nlate body");
    });
    TNMHTTP http;
    http.TimeOut = 1000;
    std::string message;
    try {
      http.Get(peer.Url("/"));
      message = "(no error)";
    } catch (const Exception& error) {
      message = error.what();
    }
    if (c.slow) {
      EXPECT_EQ(message, "Socket readln aborted") << c.name;
    } else {
      EXPECT_TRUE(message == "Socket readln aborted" ||
                  message == "The response header is larger than 1 MB")
          << c.name << ": " << message;
    }
    EXPECT_TRUE(http.TimedOut() || !c.slow) << c.name;
    EXPECT_FALSE(http.CancelRequested()) << c.name;
    EXPECT_FALSE(http.IsConnected()) << c.name;
    EXPECT_EQ(http.Header.rfind("HTTP/1.0 200 OK\r\nX-Line: more\r\n", 0), 0u) << c.name;
  }
}

TEST(TNMHTTP, BodyLimitEndsARequestWhoseBodyIsLarger) {
  struct Case {
    int64_t limit;
    size_t body;
    std::string message;  // empty: the body is kept
  };
  const Case cases[] = {
      {1000, 1000, ""},
      {1000, 1001, "The response body is larger than 1000 bytes"},
      {1000, 300000, "The response body is larger than 1000 bytes"},
      {1 << 20, (1 << 20) + 1, "The response body is larger than 1 MB"},
      {0, 300000, ""},  // no limit
  };
  for (const Case& c : cases) {
    HttpPeer server({"HTTP/1.0 200 OK\r\n\r\n" + std::string(c.body, 'b')});
    TNMHTTP http;
    http.BodyLimit = c.limit;
    const std::string message = MessageOf<Exception>([&] { http.Get(server.Url("/")); });
    if (c.message.empty()) {
      EXPECT_EQ(message, "(no exception)") << c.body;
      EXPECT_EQ(http.Body.size(), c.body);
    } else {
      EXPECT_EQ(message, c.message) << c.body;
      EXPECT_TRUE(http.Body.empty());
    }
    EXPECT_FALSE(http.IsConnected());
  }
}

}  // namespace
}  // namespace pagelathe
