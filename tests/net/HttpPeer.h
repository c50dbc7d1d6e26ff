// A scripted HTTP server for the client's tests: a fixed response per connection.
#pragma once

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "ScriptedPeer.h"

namespace pagelathe::testing {

// Answers each connection with the next response (the last one repeats) and keeps every
// request it was sent, body included.
class HttpPeer {
 public:
  explicit HttpPeer(std::vector<std::string> responses, int connections = 1)
      : responses_(std::move(responses)),
        peer_([this](PeerConnection& c) { Answer(c); }, connections) {}

  [[nodiscard]] int Port() const { return peer_.Port(); }
  [[nodiscard]] std::string Url(const std::string& path = "/") const { return peer_.Url(path); }
  std::vector<std::string> Requests() {
    peer_.Join();
    return requests_;
  }
  [[nodiscard]] int Accepted() const { return peer_.Accepted(); }

 private:
  void Answer(PeerConnection& connection) {
    std::string request = connection.ReceiveRequest();
    const size_t length_at = request.find("Content-Length: ");
    if (length_at != std::string::npos) {
      const size_t length = std::stoul(request.substr(length_at + 16));
      const size_t have = request.size() - (request.find("\r\n\r\n") + 4);
      if (length > have) request += connection.ReceiveCount(length - have);
    }
    std::string response;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(request);
      response = responses_[std::min(requests_.size(), responses_.size()) - 1];
    }
    connection.Send(response);
    connection.Close();
  }

  std::mutex mutex_;
  std::vector<std::string> responses_;
  std::vector<std::string> requests_;
  ScriptedPeer peer_;
};

}  // namespace pagelathe::testing
