// The recording server: the test web server with a handler that records, holds and answers.
#include "support/LocalHttpServer.h"

#include <algorithm>
#include <chrono>

#include "platform/Letters.h"
#include "platform/TextList.h"

namespace pagelathe::testing {

std::string RecordedRequest::Header(const std::string& name) const {
  for (const std::string& line : SplitLines(head)) {
    const size_t colon = line.find(':');
    if (colon != std::string::npos && SameText(line.substr(0, colon), name))
      return line.substr(std::min(line.size(), line.find_first_not_of(' ', colon + 1)));
  }
  return "";
}

std::string HttpResponse(int status, const std::string& body, const std::string& extra_headers) {
  return "HTTP/1.1 " + std::to_string(status) + " Test\r\nContent-Type: text/plain\r\n" +
         extra_headers + "Content-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}

LocalHttpServer::LocalHttpServer()
    : responder_([](const RecordedRequest&) { return HttpResponse(200, ""); }),
      server_([this](const TestRequest& request) { return Answer(request); }) {}

LocalHttpServer::~LocalHttpServer() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
}

TestReply LocalHttpServer::Answer(const TestRequest& request) {
  const RecordedRequest recorded{request.target, request.head};
  std::unique_lock lock(mutex_);
  requests_.push_back(recorded);
  changed_.notify_all();
  changed_.wait(lock, [this] { return !held_ || stopping_; });
  return {responder_(recorded), true};
}

std::string LocalHttpServer::BaseUrl() const {
  return server_.Url("");
}

void LocalHttpServer::SetBody(const std::string& body) {
  SetResponder([body](const RecordedRequest&) { return HttpResponse(200, body); });
}

void LocalHttpServer::SetResponder(Responder responder) {
  const std::lock_guard lock(mutex_);
  responder_ = std::move(responder);
}

void LocalHttpServer::Hold() {
  const std::lock_guard lock(mutex_);
  held_ = true;
}

void LocalHttpServer::Release() {
  {
    const std::lock_guard lock(mutex_);
    held_ = false;
  }
  changed_.notify_all();
}

std::vector<RecordedRequest> LocalHttpServer::Requests() const {
  const std::lock_guard lock(mutex_);
  return requests_;
}

size_t LocalHttpServer::RequestCount() const {
  const std::lock_guard lock(mutex_);
  return requests_.size();
}

bool LocalHttpServer::WaitForRequests(size_t count, int ms) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(ms),
                           [&] { return requests_.size() >= count; });
}

}  // namespace pagelathe::testing
