// A small web server on 127.0.0.1 for the tests of the clients: HTTP/1.1 with keep-alive,
// over TLS when given a certificate, one thread per connection, and a handler that decides
// each answer, including the misbehaviours of real servers (silence, a reset, a close).
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pagelathe::testing {

struct TestRequest {
  std::string method;  // "GET", "HEAD"
  std::string target;  // "/a?b"
  std::string head;    // the whole request header
};

struct TestReply {
  std::string bytes;    // sent as they are (status line, header, body)
  bool close = false;   // close the connection after them
  bool silent = false;  // send nothing and hold the connection until the server stops
  bool reset = false;   // reset the connection instead of answering
};

// "HTTP/1.1 200 OK" with the header lines `extra` (each ended by CR LF), a Content-Length and
// the body (not sent for HEAD).
[[nodiscard]] std::string HttpReply(const TestRequest& request, int code,
                                    const std::string& extra = "", const std::string& body = "");

class TestWebServer {
 public:
  using Handler = std::function<TestReply(const TestRequest& request)>;
  // Listens on a free port of 127.0.0.1; with `certificate` and `key` (PEM files) it speaks TLS.
  explicit TestWebServer(Handler handler, const std::string& certificate = "",
                         const std::string& key = "");
  ~TestWebServer();
  TestWebServer(const TestWebServer&) = delete;
  TestWebServer& operator=(const TestWebServer&) = delete;

  [[nodiscard]] int Port() const { return port_; }
  // "http://127.0.0.1:PORT/path" (https:// with TLS).
  [[nodiscard]] std::string Url(const std::string& path = "/") const;
  // The requests for `target` so far, as "METHOD target" lines in order.
  [[nodiscard]] std::vector<std::string> Seen(const std::string& target) const;
  [[nodiscard]] int RequestCount() const;
  [[nodiscard]] int ConnectionCount() const { return connections_; }

 private:
  void AcceptLoop();
  void Serve(int fd);

  Handler handler_;
  void* tls_ = nullptr;  // SSL_CTX
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> connections_{0};
  mutable std::mutex mutex_;
  std::map<std::string, std::vector<std::string>> seen_;
  int requests_ = 0;
  std::vector<std::thread> threads_;
  std::thread acceptor_;
};

// A port on 127.0.0.1 where nobody listens (taken and given back at once): connections to it
// are refused.
[[nodiscard]] int ClosedPort();

// A certificate authority made with the openssl command in `folder`: "ca.pem", and two server
// certificates signed by it, "good.pem"/"good.key" for 127.0.0.1 and "wrong.pem"/"wrong.key"
// for the name wrong.example only. Returns false (with the command's words in `error`) when
// openssl fails.
bool MakeTestAuthority(const std::string& folder, std::string& error);

}  // namespace pagelathe::testing
