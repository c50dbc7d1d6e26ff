// The HTTP client: URL rules, the exact request, the response header, redirects, cookies,
// and file modes, against scripted servers on 127.0.0.1.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "HttpPeer.h"
#include "ScriptedPeer.h"
#include "net/TNMHTTP.h"
#include "net/TNMUUProcessor.h"
#include "support/TempFolder.h"

namespace pagelathe {
namespace {

using testing::ClosedPort;
using testing::HttpPeer;
using testing::MessageOf;
using testing::PeerConnection;
using testing::ScriptedPeer;

const std::string kAccept1 =
    "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n";
const std::string kAccept2 =
    "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n";
const std::string kContentType = "Content-type: application/x-www-form-urlencoded\r\n";

TEST(TNMHTTP, ParseUrlRules) {
  struct Case {
    std::string url;
    int port_before;
    std::string host_before;
    std::string host;
    int port;
    std::string path;
    std::string url_after;
  };
  const std::string long_path = "/" + std::string(300, 'p');
  const Case cases[] = {
      {"http://host", 0, "", "host", 80, "/", "http://host/"},
      {"http://host/", 0, "", "host", 80, "/", "http://host/"},
      {"http://host:8080/a", 0, "", "host", 8080, "/a", "http://host:8080/a"},
      {"host/a/b", 0, "", "host", 80, "/a/b", "host/a/b"},
      {"host/a/b", 8080, "", "host", 8080, "/a/b", "host/a/b"},
      {"/x/y", 81, "prev", "prev", 81, "/x/y", "/x/y"},
      {"ftp://files/pub", 0, "", "files", 21, "/pub", "ftp://files/pub"},
      {"gopher://g/", 0, "", "g", 70, "/", "gopher://g/"},
      {"HTTPS://secure", 0, "", "secure", 443, "/", "HTTPS://secure/"},
      {"https://secure:8443/s", 0, "", "secure", 8443, "/s", "https://secure:8443/s"},
      {"HTTP://Mixed/Case", 8080, "", "Mixed", 80, "/Case", "HTTP://Mixed/Case"},
      {"http://h" + long_path, 0, "", "h", 80, long_path.substr(0, 256), "http://h" + long_path},
      {"host:81", 0, "", "host", 81, "/", "host:81/"},
  };
  for (const Case& c : cases) {
    TNMHTTP http;
    http.Port = c.port_before;
    http.Host = c.host_before;
    http.RequestUrl = c.url;
    http.ParseURL();
    EXPECT_EQ(http.Host, c.host) << c.url;
    EXPECT_EQ(http.Port, c.port) << c.url;
    EXPECT_EQ(http.RequestPath, c.path) << c.url;
    EXPECT_EQ(http.RequestUrl, c.url_after) << c.url;
  }
}

TEST(TNMHTTP, BadUrlsFailBeforeAnyConnection) {
  struct Case {
    std::string url;
    std::string message;
  };
  const Case cases[] = {
      {"", "Empty URL"},
      {"http://host:abc/", "'abc' is not a valid integer value"},
      {"http://host:/", "'' is not a valid integer value"},
      {"http://host:70000/", "Port number out of range: 70000"},
      {"http://host/a\r\nX-Injected: 1", "Invalid character in URL"},
      {std::string("http://host/\0", 13), "Invalid character in URL"},
  };
  for (const Case& c : cases) {
    TNMHTTP http;
    int sends = 0;
    http.OnAboutToSend = [&sends](TPowersock&) { ++sends; };
    EXPECT_EQ(MessageOf<Exception>([&] { http.Get(c.url); }), c.message) << c.url;
    EXPECT_EQ(sends, 0);
    EXPECT_EQ(http.Body, "Default.htm");
    EXPECT_EQ(http.Header, "Head.txt");
  }
}

TEST(TNMHTTP, GetSendsExactlyTheseLines) {
  HttpPeer server({"HTTP/1.0 200 OK\r\nServer: x\r\n\r\n<a href=\"http://a/\">a</a>\r\n"});
  TNMHTTP http;
  int successes = 0;
  http.OnSuccess = [&successes](CmdType cmd) {
    EXPECT_EQ(cmd, CmdType::CmdGET);
    ++successes;
  };
  http.Get(server.Url("/dir/page.html"));
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1U);
  EXPECT_EQ(requests[0], "GET /dir/page.html HTTP/1.0\r\nHost: 127.0.0.1\r\n" + kAccept1 +
                             kAccept2 + kContentType + "\r\n");
  EXPECT_EQ(http.Header, "HTTP/1.0 200 OK\r\nServer: x\r\n\r\n");
  EXPECT_EQ(http.Body, "<a href=\"http://a/\">a</a>\r\n");
  EXPECT_EQ(http.ReplyCode, 200);
  EXPECT_EQ(successes, 1);
  EXPECT_FALSE(http.IsConnected());
}

TEST(TNMHTTP, StatusCodesAndBodies) {
  struct Case {
    std::string response;
    int code;
    int successes;
    int failures;
    std::string body;
    int64_t expected_total;
  };
  const Case cases[] = {
      {"HTTP/1.0 404 Not Found\r\n\r\n<h1>gone</h1>", 404, 0, 1, "<h1>gone</h1>", 0},
      {"HTTP/1.0 500 Oops\r\n\r\nerr", 500, 0, 1, "err", 0},
      {"HTTP/1.0 OK fine\r\n\r\nbody", 0, 1, 0, "body", 0},
      {"HTTP/1.0 200\r\n\r\nbody", 200, 1, 0, "body", 0},
      {"HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\n01234567890123456789", 200, 1, 0,
       "01234567890123456789", 10},
      {"HTTP/1.0 200 OK\r\ncontent-length: 7\n\n", 200, 1, 0, "", 7},
      {"HTTP/1.0 200 OK\r\n\r\n", 200, 1, 0, "", 0},
      {"", 0, 1, 0, "", 0},
      {"no status line\r\nX: y\r\n\r\nrest", 0, 1, 0, "rest", 0},
      {"HTTP/1.0 299 Odd\r\n\r\nodd", 299, 0, 0, "odd", 0},
      {"HTTP/1.0 304 Not Modified\r\nLocation: /elsewhere\r\n\r\nsee", 304, 0, 0, "see", 0},
  };
  for (const Case& c : cases) {
    HttpPeer server({c.response});
    TNMHTTP http;
    int successes = 0, failures = 0;
    http.OnSuccess = [&successes](CmdType) { ++successes; };
    http.OnFailure = [&failures](CmdType) { ++failures; };
    http.Get(server.Url("/"));
    EXPECT_EQ(http.ReplyCode, c.code) << c.response;
    EXPECT_EQ(successes, c.successes) << c.response;
    EXPECT_EQ(failures, c.failures) << c.response;
    EXPECT_EQ(http.Body, c.body) << c.response;
    EXPECT_EQ(http.ExpectedTotal, c.expected_total) << c.response;
    EXPECT_EQ(server.Accepted(), 1) << c.response;  // no second pass
  }
}

TEST(TNMHTTP, RedirectToAnotherHost) {
  HttpPeer second({"HTTP/1.0 200 OK\r\n\r\nsecond body"});
  HttpPeer first({"HTTP/1.0 302 Found\r\nLocation: http://localhost:" +
                  std::to_string(second.Port()) + "/x\r\n\r\nfirst body"});
  TNMHTTP http;
  int redirects = 0;
  http.OnRedirect = [&redirects](bool&) { ++redirects; };
  http.Get(first.Url("/start"));
  EXPECT_EQ(redirects, 1);
  EXPECT_EQ(http.Body, "second body");
  EXPECT_EQ(http.Host, "localhost");
  const auto requests = second.Requests();
  ASSERT_EQ(requests.size(), 1U);
  EXPECT_EQ(requests[0].substr(0, requests[0].find("Accept")),
            "GET /x HTTP/1.0\r\nHost: localhost\r\n");
}

TEST(TNMHTTP, RedirectHandlerMayStopThere) {
  HttpPeer server({"HTTP/1.0 301 Moved\r\nLocation: /other\r\n\r\nmoved"});
  TNMHTTP http;
  http.OnRedirect = [](bool& handled) { handled = true; };
  http.Get(server.Url("/"));
  EXPECT_EQ(http.ReplyCode, 301);
  EXPECT_EQ(http.Body, "moved");
  EXPECT_EQ(http.Header, "HTTP/1.0 301 Moved\r\nLocation: /other\r\n\r\n");
  EXPECT_EQ(server.Accepted(), 1);
}

TEST(TNMHTTP, BareLocationGoesToTheSameHostOnTheHttpPort) {
  HttpPeer server({"HTTP/1.0 301 Moved\r\nLocation: page.html\r\n\r\n"});
  TNMHTTP http;
  std::vector<std::pair<std::string, int>> passes;
  http.OnAboutToSend = [&passes, &http](TPowersock&) {
    passes.emplace_back(http.RequestUrl, http.Port);
    if (passes.size() == 2) throw Exception("stop before connecting");
  };
  EXPECT_EQ(MessageOf<Exception>([&] { http.Get(server.Url("/")); }), "stop before connecting");
  ASSERT_EQ(passes.size(), 2U);
  EXPECT_EQ(passes[1].first, "http://127.0.0.1/page.html");
  EXPECT_EQ(passes[1].second, 80);
}

TEST(TNMHTTP, CookieOfARedirectIsCarriedAndOneOfA200IsNot) {
  HttpPeer server({"HTTP/1.0 302 Found\r\nSet-Cookie: first=1\r\nSet-Cookie: id=42; path=/\r\n"
                   "Location: /next\r\n\r\n",
                   "HTTP/1.0 200 OK\r\nSet-Cookie: other=9\r\n\r\npage"},
                  3);
  TNMHTTP http;
  http.Get(server.Url("/"));
  EXPECT_EQ(http.Body, "page");
  EXPECT_EQ(http.HeaderInfo.Cookie, "id=42; path=/");
  http.Get(server.Url("/again"));
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3U);
  const std::string cookie = "Cookie: id=42; path=/\r\n";
  EXPECT_EQ(requests[0].find("Cookie"), std::string::npos);
  EXPECT_EQ(requests[1], "GET /next HTTP/1.0\r\nHost: 127.0.0.1\r\n" + kAccept1 + kAccept2 +
                             cookie + kContentType + "\r\n");
  EXPECT_NE(requests[2].find(kAccept2 + cookie + kContentType), std::string::npos);
  EXPECT_EQ(requests[2].find("other=9"), std::string::npos);

  HttpPeer plain({"HTTP/1.0 200 OK\r\nSet-Cookie: a=b\r\n\r\n"}, 2);
  TNMHTTP fresh;
  fresh.Get(plain.Url("/"));
  fresh.Get(plain.Url("/"));
  for (const std::string& request : plain.Requests()) {
    EXPECT_EQ(request.find("Cookie"), std::string::npos);
  }
}

TEST(TNMHTTP, RedirectLoopEndsAfterTwentyFollows) {
  HttpPeer server({"HTTP/1.0 302 Found\r\nLocation: /loop\r\n\r\nloop body"}, 30);
  TNMHTTP http;
  http.Get(server.Url("/loop"));
  EXPECT_EQ(http.ReplyCode, 302);
  EXPECT_EQ(http.Body, "loop body");
  EXPECT_EQ(server.Accepted(), 1 + TNMHTTP::kMaxRedirects);
}

TEST(TNMHTTP, BodySinkGetsTheBodyOfTheLastResponseOnly) {
  // Which response ends the request decides which body the sink gets: the followed
  // redirect's body never reaches it, one that ends the request (stopped by the handler or
  // by the limit of follows) does, whole.
  struct Case {
    std::vector<std::string> responses;
    bool stop_redirects;
    std::string sunk;
  };
  const std::string big(300000, 'b');  // more than one receive
  const Case cases[] = {
      {{"HTTP/1.0 200 OK\r\n\r\n" + big}, false, big},
      {{"HTTP/1.0 404 Not Found\r\n\r\nmissing"}, false, "missing"},
      {{"HTTP/1.0 302 Found\r\nLocation: /next\r\n\r\nfirst", "HTTP/1.0 200 OK\r\n\r\nsecond"},
       false,
       "second"},
      {{"HTTP/1.0 301 Moved\r\nLocation: /next\r\n\r\nmoved"}, true, "moved"},
      {{"HTTP/1.0 302 Found\r\nLocation: /loop\r\n\r\nloop"}, false, "loop"},
      {{"HTTP/1.0 200 OK\r\n\r\n"}, false, ""},
  };
  for (const Case& c : cases) {
    HttpPeer server(c.responses, 1 + TNMHTTP::kMaxRedirects);
    TNMHTTP http;
    std::string sunk;
    std::string header_at_first_piece;
    http.BodySink = [&](const char* data, size_t length) {
      if (sunk.empty()) header_at_first_piece = http.Header;
      sunk.append(data, length);
    };
    if (c.stop_redirects) http.OnRedirect = [](bool& handled) { handled = true; };
    http.Get(server.Url("/"));
    EXPECT_EQ(sunk, c.sunk) << c.responses[0];
    EXPECT_EQ(http.Body, "") << c.responses[0];
    if (!sunk.empty()) {
      EXPECT_EQ(header_at_first_piece, http.Header);
    }
  }
}

TEST(TNMHTTP, ConnectionFailures) {
  struct Case {
    std::string url;
    std::string message;
  };
  const Case cases[] = {
      {"http://127.0.0.1:" + std::to_string(ClosedPort()) + "/", "Connection Failed"},
      {"http://no-such-host.invalid/", "Null Remote Address"},
  };
  for (const Case& c : cases) {
    TNMHTTP http;
    EXPECT_EQ(MessageOf<ESockError>([&] { http.Get(c.url); }), c.message) << c.url;
    EXPECT_FALSE(http.IsConnected());
    EXPECT_EQ(http.Body, "Default.htm");
  }
}

TEST(TNMHTTP, VerbsAndTheirBodies) {
  struct Case {
    std::function<void(TNMHTTP&, const std::string&)> call;
    std::string request_start;
    std::string extra;  // lines after the Content-type line, then the blank line and the body
  };
  const std::string zero_body = std::string("a\0b", 3);
  const Case cases[] = {
      {[](TNMHTTP& h, const std::string& u) { h.Post(u, "a b&c=d"); }, "POST /p HTTP/1.0",
       "Content-Length: 11\r\n\r\na+b%26c%3Dd"},
      {[&](TNMHTTP& h, const std::string& u) { h.Put(u, zero_body); }, "PUT /p HTTP/1.0",
       "Content-Length: 3\r\n\r\n" + zero_body},
      {[](TNMHTTP& h, const std::string& u) { h.Patch(u, "xy"); }, "PATCH /p HTTP/1.0",
       "Content-Length: 2\r\n\r\nxy"},
      {[](TNMHTTP& h, const std::string& u) { h.Trace(u, "t"); }, "TRACE /p HTTP/1.0",
       "Content-Length: 1\r\n\r\nt"},
      {[](TNMHTTP& h, const std::string& u) { h.Head(u); }, "HEAD /p HTTP/1.0", "\r\n"},
      {[](TNMHTTP& h, const std::string& u) { h.Options(u); }, "OPTIONS /p HTTP/1.0", "\r\n"},
      {[](TNMHTTP& h, const std::string& u) { h.Delete(u); }, "DELETE /p HTTP/1.0", "\r\n"},
      {[](TNMHTTP& h, const std::string& u) { h.Copy(u, "/dest"); }, "COPY /p HTTP/1.0",
       "URI-header: /dest\r\n\r\n"},
      {[](TNMHTTP& h, const std::string& u) { h.Move(u, "/dest"); }, "MOVE /p HTTP/1.0",
       "URI-header: /dest\r\n\r\n"},
      {[](TNMHTTP& h, const std::string& u) { h.Link(u, "<x>"); }, "LINK /p HTTP/1.0",
       "Link: <x>\r\nContent-Length: 0\r\n\r\n"},
      {[](TNMHTTP& h, const std::string& u) { h.UnLink(u, "<x>"); }, "UNLINK /p HTTP/1.0",
       "Link: <x>\r\nContent-Length: 0\r\n\r\n"},
  };
  for (const Case& c : cases) {
    HttpPeer server({"HTTP/1.0 200 OK\r\n\r\n"});
    TNMHTTP http;
    c.call(http, server.Url("/p"));
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1U);
    EXPECT_EQ(requests[0], c.request_start + "\r\nHost: 127.0.0.1\r\n" + kAccept1 + kAccept2 +
                               kContentType + c.extra)
        << c.request_start;
  }
}

TEST(TNMHTTP, WrappedSendsItsDataAsTheWholeRequest) {
  HttpPeer server({"HTTP/1.0 200 OK\r\n\r\nwrapped"});
  TNMHTTP http;
  const std::string request = "GET /own HTTP/1.0\r\nX-Mine: 1\r\n\r\n";
  http.Wrapped(server.Url("/"), request);
  EXPECT_EQ(server.Requests().at(0), request);
  EXPECT_EQ(http.Body, "wrapped");
}

TEST(TNMHTTP, HeaderInfoLines) {
  HttpPeer server({"HTTP/1.0 200 OK\r\n\r\n"});
  TNMHTTP http;
  http.HeaderInfo.LocalProgram = "Pagelathe";
  http.HeaderInfo.LocalMailAddress = "me@example.org";
  http.HeaderInfo.Referer = "http://ref/";
  http.HeaderInfo.UserId = std::string(40, 'u');
  http.HeaderInfo.Password = "secret";
  http.Get(server.Url("/"));
  const std::string request = server.Requests().at(0);
  EXPECT_NE(request.find(kAccept2 +
                         "User-Agent: Pagelathe\r\nFrom: me@example.org\r\n"
                         "Referer: http://ref/\r\nAuthorization: Basic " +
                         Base64Text(std::string(40, 'u') + ":secret") + "\r\n" + kContentType),
            std::string::npos)
      << request;
  // Credentials longer than one encoder line stay on one header line.
  EXPECT_EQ(std::count(request.begin(), request.end(), '\n'), 10);
}

TEST(TNMHTTP, ProxyGetsTheWholeUrl) {
  HttpPeer proxy({"HTTP/1.0 200 OK\r\n\r\nvia proxy"});
  TNMHTTP http;
  http.Proxy = "127.0.0.1";
  http.ProxyPort = static_cast<uint16_t>(proxy.Port());
  http.Get("http://far.example/a");
  EXPECT_EQ(http.Body, "via proxy");
  EXPECT_EQ(proxy.Requests().at(0),
            "GET http://far.example/a HTTP/1.0\r\n"
            "Proxy-Connection: Keep-Alive\r\nHost: far.example\r\n" +
                kAccept1 + kAccept2 + kContentType + "\r\n");
}

TEST(TNMHTTP, FileModes) {
  testing::TempFolder folder;
  const std::string upload = folder.Write("upload.bin", std::string("up\0load", 7));
  folder.Write("body.html", "old body");
  HttpPeer server({"HTTP/1.0 200 OK\r\nX: 1\r\n\r\nfile body"});
  TNMHTTP http;
  http.InputFileMode = true;
  http.OutputFileMode = true;
  http.Body = folder / "body.html";
  http.Header = folder / "head.txt";
  http.Put(server.Url("/u"), upload);
  EXPECT_EQ(folder.Read("body.html"), "file body");
  EXPECT_EQ(folder.Read("head.txt"), "HTTP/1.0 200 OK\r\nX: 1\r\n\r\n");
  const std::string request = server.Requests().at(0);
  EXPECT_NE(request.find("Content-Length: 7\r\n\r\n" + std::string("up\0load", 7)),
            std::string::npos);
  // A send file that is not there fails before anything is sent.
  EXPECT_THROW(http.Put(server.Url("/u"), folder / "missing.bin"), EFileError);
}

// A pipe named as the file to send, to receive the body in or to receive the header in is
// refused at once (never waited on, never replaced by a regular file).
TEST(TNMHTTP, FileModesRefuseWhatIsNotARegularFile) {
  testing::TempFolder folder;
  const std::string pipe = folder / "pipe";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::string upload = folder.Write("upload.bin", "up");
  struct Case {
    const char* name;
    std::string send, body, header;
  };
  const Case cases[] = {
      {"send file", pipe, folder / "body.html", folder / "head.txt"},
      {"body file", upload, pipe, folder / "head.txt"},
      {"header file", upload, folder / "body.html", pipe},
  };
  for (const Case& c : cases) {
    HttpPeer server({"HTTP/1.0 200 OK\r\n\r\nfile body"});
    TNMHTTP http;
    http.InputFileMode = true;
    http.OutputFileMode = true;
    http.Body = c.body;
    http.Header = c.header;
    const std::string message = MessageOf<EFileError>([&] { http.Put(server.Url("/u"), c.send); });
    EXPECT_NE(message.find("\"" + pipe + "\". It is not a regular file."), std::string::npos)
        << c.name << ": " << message;
    struct stat info {};
    ASSERT_EQ(::stat(pipe.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode)) << c.name;
    EXPECT_FALSE(http.IsConnected()) << c.name;
  }
}

TEST(TNMHTTP, FailedCaptureLeavesTheOldBodyFile) {
  testing::TempFolder folder;
  folder.Write("body.html", "old body");
  ScriptedPeer endless([](PeerConnection& connection) {
    connection.ReceiveRequest();
    connection.Send("HTTP/1.0 200 OK\r\n\r\npartial");
    connection.WaitForClientClose();
  });
  TNMHTTP http;
  http.TimeOut = 300;
  http.InputFileMode = true;
  http.Body = folder / "body.html";
  EXPECT_THROW(http.Get(endless.Url("/")), EAbortError);
  EXPECT_EQ(folder.Read("body.html"), "old body");
}

TEST(TNMHTTP, CancelFromThePumpEndsTheRequest) {
  ScriptedPeer silent([](PeerConnection& connection) {
    connection.ReceiveRequest();
    connection.WaitForClientClose();
  });
  TNMHTTP http;
  int pumps = 0;
  http.Pump = [&] {
    if (++pumps == 50) http.Cancel();
  };
  EXPECT_EQ(MessageOf<EAbortError>([&] { http.Get(silent.Url("/")); }), "Socket readln aborted");
  EXPECT_FALSE(http.IsConnected());
}

}  // namespace
}  // namespace pagelathe
