// The socket client's server side and its address texts: listening on a port, accepting a
// connection, and the local and remote addresses as the protocols write them.
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>

#include "net/PowersockDetail.h"
#include "net/SocketErrors.h"
#include "net/TPowersock.h"

namespace pagelathe {
namespace {

std::string Dotted(uint32_t network_address) {
  in_addr address{};
  address.s_addr = network_address;
  char text[INET_ADDRSTRLEN] = {};
  inet_ntop(AF_INET, &address, text, sizeof text);
  return text;
}

}  // namespace

// ---- Listening and accepting ----

void TPowersock::Listen(bool notify_as_lookup) {
  StatusMessage(kLevelDetail, "Listening");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(Port));
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  if (::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(socket_, 1) != 0) {
    RecordErrno();
    ErrorManager(kWouldBlock);
    return;
  }
  listening_ = true;
  listen_as_lookup_ = notify_as_lookup;
}

int TPowersock::Accept() {
  StatusMessage(kLevelTransfer, "Accepting");
  while (!wait_done_ && !cancel_requested_)
    SleepAndPump();
  if (cancel_requested_) throw ESockError(SockErrorKind::kAcceptCanceled);
  if (!last_event_ok_) throw ESockError(SockErrorKind::kDataConnectionFailed);
  sockaddr_in peer{};
  socklen_t length = sizeof peer;
  const int handle =
      ::accept4(socket_, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
  if (handle < 0) {
    RecordErrno();
    ErrorManager(kWouldBlock);
    return -1;
  }
  remote_address_ = peer.sin_addr.s_addr;
  remote_port_ = peer.sin_port;
  if (cancel_requested_) {
    ::close(handle);
    cancel_requested_ = false;
    throw EAbortError("Socket send aborted");
  }
  return handle;
}

// ---- Address texts ----

std::string TPowersock::GetRemoteIP() {
  StatusMessage(kLevelDetail, "Getting Remote IP");
  return Dotted(remote_address_);
}

std::string TPowersock::GetLocalIP() {
  StatusMessage(kLevelDetail, "Getting Local IP");
  char name[201] = {};
  if (gethostname(name, 200) != 0) return {};
  addrinfo hints{};
  hints.ai_family = AF_INET;
  addrinfo* result = nullptr;
  if (getaddrinfo(name, nullptr, &hints, &result) != 0 || result == nullptr) return {};
  const auto* bytes = reinterpret_cast<const unsigned char*>(
      &reinterpret_cast<sockaddr_in*>(result->ai_addr)->sin_addr.s_addr);
  char text[32];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d", bytes[0], bytes[1], bytes[2], bytes[3]);
  freeaddrinfo(result);
  return text;
}

std::string TPowersock::GetLocalAddress() {
  sockaddr_in local{};
  socklen_t length = sizeof local;
  if (socket_ >= 0) getsockname(socket_, reinterpret_cast<sockaddr*>(&local), &length);
  std::string text = Dotted(local.sin_addr.s_addr);
  for (char& c : text) {
    if (c == '.') c = ',';
  }
  return text;
}

std::string TPowersock::GetPortString() {
  const int port = LocalPort();
  std::string text(1, ',');
  text.append(std::to_string(port >> 8)).append(1, ',').append(std::to_string(port & 0xFF));
  return text;
}

int TPowersock::LocalPort() const {
  sockaddr_in local{};
  socklen_t length = sizeof local;
  if (socket_ < 0 || getsockname(socket_, reinterpret_cast<sockaddr*>(&local), &length) != 0) {
    return 0;
  }
  return ntohs(local.sin_port);
}

}  // namespace pagelathe
