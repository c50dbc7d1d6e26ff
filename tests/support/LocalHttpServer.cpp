// The test server: one thread accepts, one thread per connection reads and answers.
#include "LocalHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

#include "platform/Letters.h"

namespace pagelathe::testing {

std::string RecordedRequest::Header(const std::string& name) const {
  size_t start = head.find("\r\n");
  while (start != std::string::npos && start + 2 < head.size()) {
    start += 2;
    const size_t end = head.find("\r\n", start);
    const std::string line = head.substr(start, end - start);
    const size_t colon = line.find(':');
    if (colon != std::string::npos && SameText(line.substr(0, colon), name)) {
      size_t value = colon + 1;
      while (value < line.size() && line[value] == ' ')
        ++value;
      return line.substr(value);
    }
    start = end;
  }
  return "";
}

std::string HttpResponse(int status, const std::string& body, const std::string& extra_headers) {
  return "HTTP/1.1 " + std::to_string(status) + " Test\r\nContent-Type: text/plain\r\n" +
         extra_headers + "Content-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}

LocalHttpServer::LocalHttpServer() {
  listen_fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listen_fd_ < 0) throw std::runtime_error("socket failed");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(listen_fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listen_fd_, 16) != 0 ||
      ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(listen_fd_);
    throw std::runtime_error("cannot listen on 127.0.0.1");
  }
  port_ = ntohs(address.sin_port);
  responder_ = [](const RecordedRequest&) { return HttpResponse(200, ""); };
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

LocalHttpServer::~LocalHttpServer() {
  stopping_ = true;
  Release();
  acceptor_.join();
  for (std::thread& thread : threads_)
    thread.join();
  ::close(listen_fd_);
}

std::string LocalHttpServer::BaseUrl() const {
  return "http://127.0.0.1:" + std::to_string(port_);
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

int LocalHttpServer::ClosedPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(fd);  // bound but never listening, and now closed: connections are refused
  return ntohs(address.sin_port);
}

void LocalHttpServer::AcceptLoop() {
  while (!stopping_) {
    pollfd waiting{listen_fd_, POLLIN, 0};
    if (::poll(&waiting, 1, 20) <= 0) continue;
    const int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    const std::lock_guard lock(mutex_);
    threads_.emplace_back([this, fd] { Serve(fd); });
  }
}

void LocalHttpServer::Serve(int fd) {
  std::string head;
  char buffer[4096];
  while (head.find("\r\n\r\n") == std::string::npos && !stopping_) {
    pollfd waiting{fd, POLLIN, 0};
    if (::poll(&waiting, 1, 20) <= 0) continue;
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    head.append(buffer, static_cast<size_t>(n));
  }
  RecordedRequest request;
  request.head = head;
  const size_t first = head.find(' ');
  const size_t second = head.find(' ', first + 1);
  if (first != std::string::npos && second != std::string::npos) {
    request.target = head.substr(first + 1, second - first - 1);
  }
  std::string response;
  {
    std::unique_lock lock(mutex_);
    requests_.push_back(request);
    changed_.notify_all();
    changed_.wait(lock, [this] { return !held_ || stopping_; });
    response = responder_(request);
  }
  size_t sent = 0;
  while (sent < response.size()) {
    const ssize_t n = ::send(fd, response.data() + sent, response.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<size_t>(n);
  }
  ::close(fd);
}

}  // namespace pagelathe::testing
