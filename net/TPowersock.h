// The TCP client component: one IPv4 stream socket that resolves a host, connects, sends
// and receives bytes, lines, files and streams, and closes. Every wait is synchronous for
// its caller but runs the `Pump` hook (the GUI sets it to process pending window events), so
// the window stays responsive; between runs it waits on the socket with poll() for a few
// milliseconds at most, so no core spins while no data is there. Socket notifications
// (connection completed or refused, data arrival, connection closed) are found by that
// readiness poll; a host lookup runs on a helper thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "net/Tls.h"
#include "platform/Errors.h"
#include "platform/TextList.h"

namespace pagelathe {

class TThreadTimer;

// What a socket failure was, for the callers that decide by it; the message tells the user.
enum class SockErrorKind {
  kStartupFailed,         // "Initializaton of windows sockets failed"
  kLookupTimedOut,        // "Host Lookup Timed Out"
  kLookupCanceled,        // "Host Lookup Canceled"
  kLookupFailed,          // "Host Lookup Failed"
  kAlreadyConnected,      // "Already connected"
  kNullRemoteAddress,     // "Null Remote Address": no address for the host
  kConnectionTimedOut,    // "Connection Timed out"
  kConnectionCanceled,    // "Connection Canceled"
  kConnectionFailed,      // "Connection Failed"
  kAcceptCanceled,        // "Accepting Canceled"
  kDataConnectionFailed,  // "Error creating Data Connection"
  kSocketCall,            // a socket call failed: "10061:Connection refused" and the like
  kTlsFailed,             // the TLS handshake or a TLS record failed; the message says why
};

// The message of a kind that has one text (the texts above); empty for kSocketCall and
// kTlsFailed, whose message tells the reason.
[[nodiscard]] const char* SockErrorText(SockErrorKind kind);

// Lookup, connection and socket-call failures: a kind beside the message.
class ESockError : public Exception {
 public:
  // A failure that its kind says in full: the message is the kind's text.
  explicit ESockError(SockErrorKind kind) : ESockError(kind, SockErrorText(kind)) {}
  // A socket call or TLS failure, with the message that tells why.
  ESockError(SockErrorKind kind, const std::string& message) : Exception(message), kind_(kind) {}
  [[nodiscard]] SockErrorKind Kind() const { return kind_; }

 private:
  SockErrorKind kind_;
};

// An operation ended by a cancel or by the time limit.
class EAbortError : public Exception {
 public:
  using Exception::Exception;
};

// A value outside the range a field can hold ("Range check error").
class ERangeError : public Exception {
 public:
  using Exception::Exception;
};

class TPowersock;
using TNotifyEvent = std::function<void(TPowersock& sender)>;
using THandlerEvent = std::function<void(bool& handled)>;
using TOnHostResolved = std::function<void(TPowersock& sender)>;
using TOnStatus = std::function<void(TPowersock& sender, const std::string& status)>;
// Where received bytes go as they arrive: the data and how many bytes of it.
using TDataSink = std::function<void(const char* data, size_t length)>;
using TOnErrorEvent =
    std::function<void(TPowersock& sender, uint16_t errno_value, const std::string& errmsg)>;

class TPowersock {
 public:
  static constexpr int kBufferSize = 65536;
  static constexpr uint16_t kWouldBlock = 10035;
  static constexpr uint16_t kNotConnected = 10057;

  // Starts the socket library (first instance of the process) and makes the socket.
  // While `designing` nothing is started and no socket is made.
  explicit TPowersock(bool designing = false);
  virtual ~TPowersock();
  TPowersock(const TPowersock&) = delete;
  TPowersock& operator=(const TPowersock&) = delete;

  // Published properties.
  std::string Host;
  int Port = 0;
  int TimeOut = 0;  // milliseconds for each wait; 0: no limit
  int ReportLevel = 0;
  TNotifyEvent OnConnect;
  TNotifyEvent OnDisconnect;
  THandlerEvent OnInvalidHost;
  TOnHostResolved OnHostResolved;
  TOnStatus OnStatus;
  TNotifyEvent OnConnectionFailed;
  // Kept here, published by the descendants.
  std::string Proxy;
  uint16_t ProxyPort = 0;
  TNotifyEvent OnPacketSent;
  TNotifyEvent OnPacketRecvd;
  // Unpublished events.
  TNotifyEvent OnDataArrival;
  TOnErrorEvent OnSocketError;
  THandlerEvent OnNotConnected;

  // Runs the application's pending events during every wait (none when unset).
  std::function<void()> Pump;

  // Run-time state that callers read.
  int16_t ReplyCode = 0;
  std::string ReplyText;
  int64_t SentTotal = 0;
  int64_t ReceivedTotal = 0;
  int64_t ExpectedTotal = 0;
  std::string LastStatus;
  TextList WinsockInfo;

  [[nodiscard]] bool IsConnected() const { return connected_; }
  [[nodiscard]] bool TimedOut() const { return timed_out_; }
  [[nodiscard]] bool CancelRequested() const { return cancel_requested_; }
  [[nodiscard]] bool WaitDone() const { return wait_done_; }
  [[nodiscard]] bool LastEventOk() const { return last_event_ok_; }
  [[nodiscard]] int SocketHandle() const { return socket_; }
  // The address to connect to, in network byte order (0: none known yet).
  [[nodiscard]] uint32_t RemoteAddress() const { return remote_address_; }
  [[nodiscard]] uint16_t RemotePort() const { return remote_port_; }
  [[nodiscard]] static int InstanceCount();
  [[nodiscard]] TThreadTimer& Timer() { return *timer_; }

  // Connecting and closing.
  virtual void Connect();
  virtual void Disconnect();
  void CertifyConnect();
  void Cancel();
  virtual void Abort();
  [[nodiscard]] bool DataAvailable();
  void ResolveRemoteHost();
  void RequestCloseSocket();
  void Close(int handle);
  // Binds to all local addresses on `Port` and listens. With `notify_as_lookup` an incoming
  // connection ends a waiting Accept (sets WaitDone); otherwise it goes to the accept hook.
  void Listen(bool notify_as_lookup);
  virtual int Accept();
  // Takes over a connected socket (closing the own one): the server gives its client copies
  // the accepted socket this way.
  void AdoptSocket(int handle);
  // Starts TLS on the connection: the handshake runs as the other waits do (the pump, the time
  // limit and a cancel end it), the certificate is verified for `host` as `options` say, and
  // from then on every send and receive goes through TLS until the socket is closed. Raises
  // ESockError (kTlsFailed) naming the reason when the handshake or the verification fails.
  void StartTls(const std::string& host, const TlsOptions& options);
  [[nodiscard]] bool Secure() const { return tls_ != nullptr; }

  // Errors and reports.
  [[nodiscard]] std::string SocketErrorStr(uint16_t number);
  std::string ErrorManager(uint16_t ignore);
  void SetWSAError(uint16_t number, const std::string& text);
  void StatusMessage(uint8_t level, const std::string& text);
  [[nodiscard]] int GetLastErrorNo();
  void SetLastErrorNo(int number);

  // Address texts.
  [[nodiscard]] std::string GetRemoteIP();
  [[nodiscard]] std::string GetLocalIP();
  [[nodiscard]] std::string GetLocalAddress();
  [[nodiscard]] std::string GetPortString();
  // The socket's local port (0 when it has none): what Listen on port 0 was given.
  [[nodiscard]] int LocalPort() const;

  // The time limit.
  void TimerOn();
  void TimerOff();
  void TimerFired();

  // The time limit of a governed operation, or one limit over several of them, as the lines
  // of one response header are read: the limit starts with the span and ends with it however
  // the span ends (an exception included). Spans nest: only the outermost one starts and
  // stops the limit, so the operations inside a span neither start it again nor stop it.
  class TimeSpan {
   public:
    explicit TimeSpan(TPowersock& socket);
    ~TimeSpan();
    TimeSpan(const TimeSpan&) = delete;
    TimeSpan& operator=(const TimeSpan&) = delete;

   private:
    TPowersock& socket_;
  };

  // Delivers this component's pending notifications and timer tick, waiting for the socket up
  // to `wait_ms` milliseconds: the stand-in for the notification window's message handling.
  // The waits call it; an idle server calls it to accept its clients.
  void ProcessNotifications(int wait_ms);

  // Sending.
  void SendBuffer(const char* data, uint16_t length);
  void Write(const std::string& text);
  void Writeln(const std::string& text);
  void SendFile(const std::string& name);
  void SendStream(std::istream& stream);
  // Sends every byte of `bytes` (zero bytes and all), in buffer-sized pieces, with the wait
  // and the time limit of SendBuffer.
  void SendAll(const std::string& bytes);
  // Receiving.
  void ClearInput();
  [[nodiscard]] std::string Read(uint16_t count);
  [[nodiscard]] std::string ReadLn();
  virtual std::string Transaction(const std::string& command);
  void AppendFile(const std::string& name);
  void CaptureFile(const std::string& name);
  void CaptureStream(std::ostream& stream, int32_t limit);
  void CaptureString(std::string& text, int32_t limit);
  // Hands every received byte to `sink` as it arrives, until the peer closes the connection.
  void CaptureSink(const TDataSink& sink);
  void FilterHeader(std::ostream& stream);

 protected:
  // The server's accept hook, called for an incoming connection (nothing here).
  virtual void IncomingConnection() {}
  [[nodiscard]] bool Designing() const { return designing_; }
  [[nodiscard]] bool Destroying() const { return destroying_; }
  void SetWaitDone(bool value) { wait_done_ = value; }
  // The pump form of waiting: deliver notifications (waiting up to a few milliseconds when
  // the last attempt made no progress), then run the pump.
  void PumpWait(bool idle, bool want_write = false);
  // The wait of a loop that asks the socket itself (a TLS handshake, the sink capture): up to
  // 5 ms, or to the time limit's next tick, for `events` on the socket; then the tick is
  // delivered and the pump runs. No other notification is delivered.
  void WaitForSocket(short events);
  // The sleep-and-pump form: wait up to 2 ms for the socket, deliver, run the pump.
  void SleepAndPump();
  void RunPump();
  // Marks the end of the connection's notifications for the destructor of a descendant.
  void BeginDestroy() { destroying_ = true; }
  // Delivers the time limit's tick when it is due, for a loop whose data is always waiting and
  // that therefore never reaches a wait (which is where ticks are delivered otherwise).
  void DeliverTimer();

 private:
  struct Lookup;
  void InitWinsock();
  bool MakeSocket(bool reset_on_close);
  long RecvRaw(char* buffer, size_t length, bool peek);
  // The receive and send of a TLS connection: -1 with "would block" as the last error while a
  // record is incomplete, 0 at its end.
  long TlsRecv(char* buffer, size_t length, bool peek);
  long TlsSend(const char* data, size_t length);
  void EndTls();
  long SendRaw(const char* data, size_t length);
  void SendChunk(const char* data, size_t length, bool count_sent);
  void DeliverSocketEvents(short revents);
  void EnsureBuffer();
  // One receive of a capture, into `buffer` (the data buffer when none is given): hands the
  // bytes that came to `sink`, counts them, reports the packet and starts the time limit
  // again, or notes that none are there yet. Returns what the receive returned; 0 is the end
  // of the data (a peer that has gone included).
  long CaptureChunk(const TDataSink& sink, char* buffer = nullptr, size_t capacity = 0);

  bool designing_ = false;
  bool destroying_ = false;
  bool closing_for_good_ = false;
  bool started_library_ = false;
  int socket_ = -1;
  bool connected_ = false;
  bool connecting_ = false;
  bool listening_ = false;
  bool listen_as_lookup_ = false;
  bool data_notified_ = false;
  std::atomic<bool> cancel_requested_{false};
  bool timed_out_ = false;
  int time_spans_ = 0;
  bool last_event_ok_ = true;
  bool wait_done_ = false;
  uint32_t remote_address_ = 0;
  uint16_t remote_port_ = 0;
  int last_error_no_ = 0;
  std::unique_ptr<char[]> data_buffer_;
  std::unique_ptr<TThreadTimer> timer_;
  std::shared_ptr<Lookup> lookup_;
  SSL* tls_ = nullptr;
  std::string tls_host_;
};

}  // namespace pagelathe
