// The socket client: construction, host lookup, connecting, closing, notifications, the time
// limit, errors and status reports. The data operations are in PowersockTransfer.cpp,
// listening, accepting and the address texts in PowersockListen.cpp.
#include "net/TPowersock.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>

#include <cstring>
#include <iterator>
#include <mutex>
#include <thread>

#include "net/PowersockDetail.h"
#include "net/SocketErrors.h"
#include "net/TThreadTimer.h"

namespace pagelathe {
namespace {

std::mutex g_instance_mutex;
int g_instance_count = 0;

}  // namespace

const char* SockErrorText(SockErrorKind kind) {
  // In the order of the kinds; the last two have their reason for a message.
  static constexpr const char* kTexts[] = {
      "Initializaton of windows sockets failed",
      "Host Lookup Timed Out",
      "Host Lookup Canceled",
      "Host Lookup Failed",
      "Already connected",
      "Null Remote Address",
      "Connection Timed out",
      "Connection Canceled",
      "Connection Failed",
      "Accepting Canceled",
      "Error creating Data Connection",
      "",
      "",
  };
  static_assert(std::size(kTexts) == static_cast<size_t>(SockErrorKind::kTlsFailed) + 1);
  return kTexts[static_cast<size_t>(kind)];
}

// The result of one asynchronous host lookup, shared with the helper thread so that a wait
// that gives up early leaves the thread nothing dangling.
struct TPowersock::Lookup {
  std::mutex mutex;
  bool done = false;
  int error = 0;
  uint32_t address = 0;
};

TPowersock::TPowersock(bool designing) : designing_(designing) {
  StatusMessage(kLevelDetail, "Create");
  timer_ = std::make_unique<TThreadTimer>();
  timer_->SetEnabled(false);
  timer_->SetOnTimer([this](TThreadTimer&) { TimerFired(); });
  TimeOut = 0;
  InitWinsock();
}

TPowersock::~TPowersock() {
  // Being destroyed: the status handler may belong to what is already gone.
  destroying_ = true;
  StatusMessage(kLevelDetail, "Destroy");
  TPowersock::Abort();
  Cancel();
  closing_for_good_ = true;
  if (!designing_) {
    try {
      RequestCloseSocket();
    } catch (...) {  // a destructor must not throw; the socket is gone either way
    }
  }
  if (started_library_) {
    std::lock_guard<std::mutex> lock(g_instance_mutex);
    --g_instance_count;
  }
}

int TPowersock::InstanceCount() {
  std::lock_guard<std::mutex> lock(g_instance_mutex);
  return g_instance_count;
}

void TPowersock::InitWinsock() {
  StatusMessage(kLevelDetail, "Initializing Winsock");
  if (designing_) return;
  bool first = false;
  {
    std::lock_guard<std::mutex> lock(g_instance_mutex);
    first = g_instance_count++ == 0;
  }
  started_library_ = true;
  if (first) {
    rlimit files{};
    getrlimit(RLIMIT_NOFILE, &files);
    WinsockInfo = {"Version= 1.1",
                   "High Version= 2.2",
                   "Description= POSIX sockets",
                   "System= Running",
                   "Max Sockets= " + std::to_string(files.rlim_cur),
                   "Max Udp pack size= 65507"};
  }
  if (!MakeSocket(true)) {
    {
      std::lock_guard<std::mutex> lock(g_instance_mutex);
      --g_instance_count;
    }
    started_library_ = false;
    throw ESockError(SockErrorKind::kStartupFailed);
  }
}

bool TPowersock::MakeSocket(bool reset_on_close) {
  socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
  if (socket_ < 0) {
    RecordErrno();
    return false;
  }
  if (reset_on_close) {
    // Closing resets the connection at once instead of lingering.
    linger option{};
    option.l_onoff = 1;
    option.l_linger = 0;
    setsockopt(socket_, SOL_SOCKET, SO_LINGER, &option, sizeof option);
  }
  data_notified_ = false;
  return true;
}

void TPowersock::EnsureBuffer() {
  if (!data_buffer_) data_buffer_ = std::make_unique<char[]>(kBufferSize + 1);
}

// ---- Notifications and waiting ----

void TPowersock::ProcessNotifications(int wait_ms) {
  // Bytes that TLS has already taken off the socket are news the socket cannot tell.
  if (tls_ != nullptr && connected_ && !data_notified_ && SSL_pending(tls_) > 0) wait_ms = 0;
  const int to_tick = timer_->MillisecondsToTick();
  if (to_tick >= 0 && to_tick < wait_ms) wait_ms = to_tick;
  pollfd entry{};
  entry.fd = socket_;
  if (socket_ >= 0) {
    if (connecting_) entry.events = POLLOUT;
    // Data already announced is not announced again before the next receive (and waiting on
    // it would only spin).
    if ((connected_ && !data_notified_) || listening_) entry.events |= POLLIN;
  }
  if (entry.events != 0) {
    if (::poll(&entry, 1, wait_ms) > 0) {
      DeliverSocketEvents(entry.revents);
    } else if (tls_ != nullptr && connected_ && !data_notified_ && SSL_pending(tls_) > 0) {
      DeliverSocketEvents(POLLIN);
    }
  } else if (wait_ms > 0) {
    ::poll(nullptr, 0, wait_ms);
  }
  if (lookup_) {
    std::lock_guard<std::mutex> lock(lookup_->mutex);
    if (lookup_->done) {
      // The host lookup message.
      last_event_ok_ = lookup_->error == 0;
      if (!last_event_ok_) SetSocketLastError(lookup_->error);
      wait_done_ = true;
    }
  }
  try {
    timer_->ProcessTimer();
  } catch (...) {  // the timer handler's exception goes to nobody here
  }
}

void TPowersock::DeliverSocketEvents(short revents) {
  try {
    if (connecting_ && (revents & (POLLOUT | POLLERR | POLLHUP))) {
      // Connection completed, with or without an error.
      connecting_ = false;
      int error = 0;
      socklen_t length = sizeof error;
      getsockopt(socket_, SOL_SOCKET, SO_ERROR, &error, &length);
      // A reset can only end a connection that was made: the peer accepted and reset before
      // we looked. The connection counts as made, and the reads then find its end.
      if (error == ECONNRESET || error == EPIPE) {
        SetSocketLastError(WinsockErrorFromErrno(error));
        last_error_no_ = SocketLastError();
        error = 0;
      }
      last_event_ok_ = error == 0;
      if (last_event_ok_) {
        connected_ = true;
        if (OnConnect) OnConnect(*this);
      } else {
        SetSocketLastError(WinsockErrorFromErrno(error));
        last_error_no_ = SocketLastError();
      }
      return;
    }
    if (listening_ && (revents & POLLIN)) {
      last_event_ok_ = true;
      if (listen_as_lookup_) {
        wait_done_ = true;
        connected_ = true;
        if (!destroying_ && OnDisconnect) OnDisconnect(*this);
      } else {
        connected_ = true;
        IncomingConnection();
      }
      return;
    }
    if (connected_ && (revents & (POLLIN | POLLHUP | POLLERR))) {
      char probe = 0;
      long got = 0;
      if (tls_ != nullptr) {
        // Only application data is news; a record of the protocol's own is taken quietly.
        got = TlsRecv(&probe, 1, true);
        if (got < 0 && SocketLastError() == kWouldBlock) return;
        if (got < 0) errno = ECONNRESET;
      } else {
        got = ::recv(socket_, &probe, 1, MSG_PEEK | MSG_DONTWAIT);
      }
      if (got > 0) {
        last_event_ok_ = true;
        data_notified_ = true;
        if (OnDataArrival) {
          try {
            OnDataArrival(*this);
          } catch (...) {  // dropped, as every handler exception of a notification
          }
        }
      } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
        // Connection closed (by the peer, or reset). Bytes still waiting stay readable.
        last_event_ok_ = got == 0;
        if (got < 0) RecordErrno();
        if (!DataAvailable()) RequestCloseSocket();
      }
    }
  } catch (...) {  // an exception inside the notification handling is dropped
  }
}

void TPowersock::RunPump() {
  if (Pump) Pump();
}

void TPowersock::SleepAndPump() {
  ProcessNotifications(2);
  RunPump();
}

void TPowersock::WaitForSocket(short events) {
  int wait_ms = 5;
  const int to_tick = timer_->MillisecondsToTick();
  if (to_tick >= 0 && to_tick < wait_ms) wait_ms = to_tick;
  pollfd entry{socket_, events, 0};
  if (socket_ >= 0) ::poll(&entry, 1, wait_ms);
  DeliverTimer();
  RunPump();
}

void TPowersock::PumpWait(bool idle, bool want_write) {
  if (want_write && socket_ >= 0) {
    // A send that would block waits until the socket takes bytes again.
    pollfd entry{socket_, POLLOUT, 0};
    int wait_ms = idle ? 5 : 0;
    const int to_tick = timer_->MillisecondsToTick();
    if (to_tick >= 0 && to_tick < wait_ms) wait_ms = to_tick;
    ::poll(&entry, 1, wait_ms);
    ProcessNotifications(0);
  } else {
    ProcessNotifications(idle ? 5 : 0);
  }
  RunPump();
}

// ---- Host lookup and connecting ----

void TPowersock::ResolveRemoteHost() {
  StatusMessage(kLevelDetail, "Resolve Host");
  std::string name = Proxy.empty() ? Host : Proxy;
  name = name.substr(0, std::min(name.find('\0'), static_cast<size_t>(kBufferSize)));
  in_addr numeric{};
  if (inet_pton(AF_INET, name.c_str(), &numeric) == 1) {
    remote_address_ = numeric.s_addr;
    return;
  }
  remote_address_ = 0;
  wait_done_ = false;
  auto lookup = std::make_shared<Lookup>();
  lookup_ = lookup;
  std::thread([lookup, name] {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* result = nullptr;
    const int status =
        name.empty() ? EAI_NONAME : getaddrinfo(name.c_str(), nullptr, &hints, &result);
    uint32_t address = 0;
    if (status == 0 && result != nullptr) {
      address = reinterpret_cast<sockaddr_in*>(result->ai_addr)->sin_addr.s_addr;
    }
    if (result != nullptr) freeaddrinfo(result);
    std::lock_guard<std::mutex> lock(lookup->mutex);
    lookup->error = status == 0 ? 0 : WinsockErrorFromLookup(status);
    lookup->address = address;
    lookup->done = true;
  }).detach();
  {
    const TimeSpan limit(*this);
    try {
      while (!wait_done_ && !timed_out_ && !cancel_requested_)
        SleepAndPump();
    } catch (...) {
      lookup_.reset();
      throw;
    }
    lookup_.reset();
  }
  if (timed_out_) throw ESockError(SockErrorKind::kLookupTimedOut);
  if (cancel_requested_) throw ESockError(SockErrorKind::kLookupCanceled);
  if (last_event_ok_) {
    {
      std::lock_guard<std::mutex> lock(lookup->mutex);
      remote_address_ = lookup->address;
    }
    if (OnHostResolved) OnHostResolved(*this);
    return;
  }
  last_error_no_ = SocketLastError();
  throw ESockError(SockErrorKind::kLookupFailed);
}

void TPowersock::Connect() {
  StatusMessage(kLevelDetail, "Connecting");
  cancel_requested_ = false;
  if (connected_) throw ESockError(SockErrorKind::kAlreadyConnected);
  int tries = 0;
  for (;;) {
    try {
      ResolveRemoteHost();
    } catch (const ESockError& error) {
      // A lookup that was stopped ends the connect; one that found nothing asks the handler.
      if (error.Kind() == SockErrorKind::kLookupTimedOut ||
          error.Kind() == SockErrorKind::kLookupCanceled)
        throw;
    }
    if (remote_address_ != 0) break;
    if (tries > 0 || !OnInvalidHost) throw ESockError(SockErrorKind::kNullRemoteAddress);
    bool handled = false;
    OnInvalidHost(handled);
    if (!handled) throw ESockError(SockErrorKind::kNullRemoteAddress);
    ++tries;
  }
  const int port = Proxy.empty() ? Port : ProxyPort;
  remote_port_ = htons(static_cast<uint16_t>(port));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = remote_port_;
  address.sin_addr.s_addr = remote_address_;

  wait_done_ = false;
  last_event_ok_ = true;
  if (::connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 &&
      errno != EINPROGRESS) {
    RecordErrno();
    ErrorManager(kWouldBlock);
  }
  connecting_ = true;
  {
    const TimeSpan limit(*this);
    while (!connected_ && !timed_out_ && !cancel_requested_ && last_event_ok_)
      SleepAndPump();
  }
  if (!timed_out_ && !cancel_requested_ && last_event_ok_) return;
  if (OnConnectionFailed) OnConnectionFailed(*this);
  if (timed_out_) throw ESockError(SockErrorKind::kConnectionTimedOut);
  if (cancel_requested_) throw ESockError(SockErrorKind::kConnectionCanceled);
  throw ESockError(SockErrorKind::kConnectionFailed);
}

void TPowersock::CertifyConnect() {
  StatusMessage(kLevelDetail, "Checking Connection");
  int tries = 0;
  while (!connected_) {
    if (tries > 0 || !OnNotConnected) throw Exception("Not Connected");
    bool handled = false;
    OnNotConnected(handled);
    if (!handled) throw Exception("Not Connected");
    ++tries;
  }
}

bool TPowersock::DataAvailable() {
  StatusMessage(kLevelDetail, "Data Available");
  if (socket_ < 0) return false;
  char probe = 0;
  if (tls_ != nullptr) {
    try {
      return SSL_pending(tls_) > 0 || TlsRecv(&probe, 1, true) > 0;
    } catch (const ESockError&) {  // a broken record: nothing readable
      return false;
    }
  }
  return ::recv(socket_, &probe, 1, MSG_PEEK | MSG_DONTWAIT) > 0;
}

// ---- Closing ----

void TPowersock::RequestCloseSocket() {
  StatusMessage(kLevelTransfer, "Request Close Socket");
  connected_ = false;
  connecting_ = false;
  listening_ = false;
  EndTls();
  if (socket_ >= 0) {
    const int handle = socket_;
    socket_ = -1;
    if (::close(handle) != 0) {
      RecordErrno();
      ErrorManager(kWouldBlock);
    }
    if (!destroying_ && OnDisconnect) OnDisconnect(*this);
  }
  // A component whose fresh socket could not be made tries again here.
  if (!closing_for_good_ && socket_ < 0) MakeSocket(false);
}

void TPowersock::Disconnect() {
  StatusMessage(kLevelDetail, "Disconnecting");
  RequestCloseSocket();
}

void TPowersock::Close(int handle) {
  StatusMessage(kLevelDetail, "Closing Socket");
  if (handle < 0) return;
  if (handle == socket_) EndTls();
  if (::close(handle) != 0) {
    RecordErrno();
    ErrorManager(kWouldBlock);
  }
  if (handle == socket_) socket_ = -1;
}

void TPowersock::AdoptSocket(int handle) {
  EndTls();
  if (socket_ >= 0) ::close(socket_);
  socket_ = handle;
  connected_ = handle >= 0;
  connecting_ = false;
  listening_ = false;
  data_notified_ = false;
}

// ---- Cancel and the time limit ----

void TPowersock::Cancel() {
  StatusMessage(kLevelDetail, "Canceling");
  cancel_requested_ = true;
}

void TPowersock::Abort() {
  StatusMessage(kLevelDetail, "Abort");
  Cancel();
}

void TPowersock::TimerOn() {
  StatusMessage(kLevelDetail, "Timer On");
  timed_out_ = false;
  timer_->SetInterval(TimeOut > 0 ? static_cast<unsigned>(TimeOut) : 0U);
  timer_->SetEnabled(true);
}

void TPowersock::TimerOff() {
  StatusMessage(kLevelDetail, "Timer Off");
  timer_->SetEnabled(false);
}

TPowersock::TimeSpan::TimeSpan(TPowersock& socket) : socket_(socket) {
  if (socket_.time_spans_++ == 0) socket_.TimerOn();
}

TPowersock::TimeSpan::~TimeSpan() {
  if (--socket_.time_spans_ == 0) socket_.TimerOff();
}

void TPowersock::DeliverTimer() {
  try {
    timer_->ProcessTimer();
  } catch (...) {  // as in the waits: the timer handler's exception goes to nobody
  }
}

void TPowersock::TimerFired() {
  StatusMessage(kLevelDetail, "Timer Triggered");
  TimerOff();
  timed_out_ = true;
  wait_done_ = true;
  Abort();
}

// ---- Errors and reports ----

std::string TPowersock::SocketErrorStr(uint16_t number) {
  StatusMessage(kLevelDetail, "Looking Up Error Message");
  return SocketErrorText(number);
}

std::string TPowersock::ErrorManager(uint16_t ignore) {
  last_error_no_ = SocketLastError();
  if (last_error_no_ != ignore && last_error_no_ > 10000) {
    const std::string text = SocketErrorStr(static_cast<uint16_t>(last_error_no_));
    if (OnSocketError) OnSocketError(*this, static_cast<uint16_t>(last_error_no_), text);
    throw ESockError(SockErrorKind::kSocketCall, text);
  }
  return {};
}

void TPowersock::SetWSAError(uint16_t number, const std::string& text) {
  StatusMessage(kLevelDetail, "Setting Winsock Error");
  last_error_no_ = number;
  SetSocketLastError(number);
  if (OnSocketError) OnSocketError(*this, number, text.empty() ? SocketErrorStr(number) : text);
}

void TPowersock::StatusMessage(uint8_t level, const std::string& text) {
  if (ReportLevel < level) return;
  LastStatus = text;
  if (destroying_ || !OnStatus) return;
  try {
    OnStatus(*this, text);
  } catch (...) {  // a status handler cannot stop the operation it reports on
  }
}

int TPowersock::GetLastErrorNo() {
  StatusMessage(kLevelDetail, "Getting LastError Number");
  return last_error_no_;
}

void TPowersock::SetLastErrorNo(int number) {
  StatusMessage(kLevelDetail, "Setting LastError Number");
  last_error_no_ = number;
}

// ---- Raw socket calls: failures leave the Winsock number as the last error ----

long TPowersock::RecvRaw(char* buffer, size_t length, bool peek) {
  if (!peek) data_notified_ = false;
  if (tls_ != nullptr) {
    const long got = TlsRecv(buffer, length, peek);
    if (got < 0 && SocketLastError() == kWouldBlock) data_notified_ = false;
    return got;
  }
  const long got = ::recv(socket_, buffer, length, peek ? MSG_PEEK : 0);
  if (got < 0) {
    // Nothing waits now: the next data is news again.
    if (errno == EAGAIN) data_notified_ = false;
    RecordErrno();
    if (socket_ < 0) SetSocketLastError(kNotConnected);
  }
  return got;
}

long TPowersock::SendRaw(const char* data, size_t length) {
  if (tls_ != nullptr) return TlsSend(data, length);
  const long sent = ::send(socket_, data, length, MSG_NOSIGNAL);
  if (sent < 0) {
    RecordErrno();
    if (socket_ < 0) SetSocketLastError(kNotConnected);
  }
  return sent;
}

}  // namespace pagelathe
