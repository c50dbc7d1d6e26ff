// A scripted peer on 127.0.0.1 for byte-level socket tests: it listens on a free port and runs
// a script for each connection it accepts, on a thread of its own.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/TestWebServer.h"  // ClosedPort

namespace pagelathe::testing {

// One accepted connection, seen from the peer's side.
class PeerConnection {
 public:
  explicit PeerConnection(int fd) : fd_(fd) {}
  ~PeerConnection() { Close(); }
  PeerConnection(const PeerConnection&) = delete;
  PeerConnection& operator=(const PeerConnection&) = delete;

  void Send(const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
      if (n <= 0) return;
      done += static_cast<size_t>(n);
    }
  }
  // Reads until `end` has arrived (returned with it) or the client closes; at most 10 s.
  std::string ReceiveUntil(const std::string& end) {
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (got.find(end) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
      pollfd entry{fd_, POLLIN, 0};
      if (::poll(&entry, 1, 100) <= 0) continue;
      char buffer[4096];
      const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      got.append(buffer, static_cast<size_t>(n));
    }
    return got;
  }
  // Reads an HTTP request header (up to and including its blank line).
  std::string ReceiveRequest() { return ReceiveUntil("\r\n\r\n"); }
  // Reads exactly `count` bytes (fewer when the client closes).
  std::string ReceiveCount(size_t count) {
    std::string got;
    while (got.size() < count) {
      pollfd entry{fd_, POLLIN, 0};
      if (::poll(&entry, 1, 10000) <= 0) break;
      char buffer[4096];
      const ssize_t n = ::recv(fd_, buffer, std::min(sizeof buffer, count - got.size()), 0);
      if (n <= 0) break;
      got.append(buffer, static_cast<size_t>(n));
    }
    return got;
  }
  // Waits until the client closes its end (at most 10 s).
  void WaitForClientClose() { ReceiveUntil(std::string(1, '\0') + "never"); }
  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  // Closes with a reset instead of an orderly end.
  void Reset() {
    linger option{1, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &option, sizeof option);
    Close();
  }
  [[nodiscard]] int Fd() const { return fd_; }

 private:
  int fd_;
};

class ScriptedPeer {
 public:
  using Script = std::function<void(PeerConnection&)>;

  // Runs `script` for each of the next `connections` connections, one after another.
  explicit ScriptedPeer(Script script, int connections = 1) : script_(std::move(script)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int one = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 8);
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this, connections] {
      for (int i = 0; i < connections && !stop_; ++i) {
        pollfd entry{listener_, POLLIN, 0};
        while (!stop_ && ::poll(&entry, 1, 50) <= 0) {
        }
        if (stop_) break;
        PeerConnection connection(::accept(listener_, nullptr, nullptr));
        ++accepted_;
        script_(connection);
      }
    });
  }
  ~ScriptedPeer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    ::close(listener_);
  }
  ScriptedPeer(const ScriptedPeer&) = delete;
  ScriptedPeer& operator=(const ScriptedPeer&) = delete;

  [[nodiscard]] int Port() const { return port_; }
  [[nodiscard]] std::string Url(const std::string& path = "/") const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  [[nodiscard]] int Accepted() const { return accepted_; }
  // Waits until the scripts have run (at most 10 s).
  void Join() {
    if (thread_.joinable()) thread_.join();
  }

 private:
  Script script_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> accepted_{0};
  std::thread thread_;
};

// The message of the exception of type `Exception` that `action` raises, or
// "(no exception)".
template <typename Exception, typename Action>
std::string MessageOf(Action action) {
  try {
    action();
  } catch (const Exception& error) {
    return error.what();
  }
  return "(no exception)";
}

}  // namespace pagelathe::testing
