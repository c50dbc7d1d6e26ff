// The test web server as the update and fetch tests use it: it records every request, answers
// each with the bytes the test chose and closes the connection, and can hold its answers back
// until the test lets them go.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "support/TestWebServer.h"

namespace pagelathe::testing {

struct RecordedRequest {
  std::string target;  // the path and query of the request line
  std::string head;    // the whole request head, CR LF line ends included
  // The value of a header (name matched without regard to case); empty when absent.
  [[nodiscard]] std::string Header(const std::string& name) const;
};

// A complete response: status line, Content-Length, Connection: close, and the body.
std::string HttpResponse(int status, const std::string& body,
                         const std::string& extra_headers = "");

class LocalHttpServer {
 public:
  using Responder = std::function<std::string(const RecordedRequest&)>;

  LocalHttpServer();
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  // "http://127.0.0.1:port".
  [[nodiscard]] std::string BaseUrl() const;
  [[nodiscard]] int Port() const { return server_.Port(); }

  // Answers every request with HttpResponse(200, body).
  void SetBody(const std::string& body);
  // Answers with whatever bytes the responder gives (it may break a response off).
  void SetResponder(Responder responder);

  // While held, requests are read and recorded but not answered.
  void Hold();
  void Release();

  [[nodiscard]] std::vector<RecordedRequest> Requests() const;
  [[nodiscard]] size_t RequestCount() const;
  // Waits until `count` requests have been recorded; false after `ms`.
  bool WaitForRequests(size_t count, int ms = 10000) const;

 private:
  TestReply Answer(const TestRequest& request);

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  Responder responder_;
  bool held_ = false;
  bool stopping_ = false;
  std::vector<RecordedRequest> requests_;
  TestWebServer server_;  // last: its threads end before the rest goes
};

}  // namespace pagelathe::testing
