// The socket client's TLS: the handshake as a wait of its own, and the receives and sends of
// a secure connection. OpenSSL works on the non-blocking socket itself; an incomplete record
// shows to the callers as "would block", exactly as a plain socket without data does.
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <poll.h>

#include <cerrno>

#include "net/PowersockDetail.h"
#include "net/SocketErrors.h"
#include "net/TPowersock.h"

namespace pagelathe {

void TPowersock::StartTls(const std::string& host, const TlsOptions& options) {
  StatusMessage(kLevelDetail, "Starting TLS");
  if (!connected_ || socket_ < 0) throw Exception("Not Connected");
  EndTls();
  SSL_CTX* context = SharedClientContext(options);
  ERR_clear_error();
  tls_ = SSL_new(context);
  if (tls_ == nullptr) throw ESockError(SockErrorKind::kTlsFailed, TlsFailureText(nullptr, host));
  tls_host_ = host;
  SSL_set_fd(tls_, socket_);
  SSL_set_connect_state(tls_);
  // HTTP/1.0 servers end the body by closing, often without a TLS goodbye: that is the end of
  // the data, not an attack on it (the length of an HTTP/1.0 body is the connection's).
  SSL_set_options(tls_, SSL_OP_IGNORE_UNEXPECTED_EOF);
  SSL_set_mode(tls_, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
  ConfigureHostCheck(tls_, host);
  const TimeSpan limit(*this);
  try {
    for (;;) {
      const int result = SSL_do_handshake(tls_);
      if (result == 1) break;
      const int error = SSL_get_error(tls_, result);
      if (error != SSL_ERROR_WANT_READ && error != SSL_ERROR_WANT_WRITE) {
        const std::string text = TlsFailureText(tls_, host);
        ERR_clear_error();
        throw ESockError(SockErrorKind::kTlsFailed, text);
      }
      if (timed_out_) throw ESockError(SockErrorKind::kConnectionTimedOut);
      if (cancel_requested_) throw ESockError(SockErrorKind::kConnectionCanceled);
      WaitForSocket(error == SSL_ERROR_WANT_READ ? POLLIN : POLLOUT);
    }
  } catch (...) {
    EndTls();
    throw;
  }
}

void TPowersock::EndTls() {
  if (tls_ == nullptr) return;
  SSL_free(tls_);  // no goodbye: the socket is closed with a reset right after
  tls_ = nullptr;
}

long TPowersock::TlsRecv(char* buffer, size_t length, bool peek) {
  ERR_clear_error();
  const int asked = static_cast<int>(std::min<size_t>(length, 1 << 30));
  const int got = peek ? SSL_peek(tls_, buffer, asked) : SSL_read(tls_, buffer, asked);
  if (got > 0) return got;
  switch (SSL_get_error(tls_, got)) {
    case SSL_ERROR_ZERO_RETURN:
      return 0;
    case SSL_ERROR_WANT_READ:
    case SSL_ERROR_WANT_WRITE:
      SetSocketLastError(kWouldBlock);
      return -1;
    case SSL_ERROR_SYSCALL:
      if (errno == 0) return 0;
      RecordErrno();
      return -1;
    default: {
      const std::string text = TlsFailureText(tls_, tls_host_);
      ERR_clear_error();
      throw ESockError(SockErrorKind::kTlsFailed, text);
    }
  }
}

long TPowersock::TlsSend(const char* data, size_t length) {
  ERR_clear_error();
  const int offered = static_cast<int>(std::min<size_t>(length, 1 << 30));
  const int sent = SSL_write(tls_, data, offered);
  if (sent > 0) return sent;
  switch (SSL_get_error(tls_, sent)) {
    case SSL_ERROR_WANT_READ:
    case SSL_ERROR_WANT_WRITE:
      SetSocketLastError(kWouldBlock);
      return -1;
    case SSL_ERROR_SYSCALL:
      SetSocketLastError(WinsockErrorFromErrno(errno != 0 ? errno : EPIPE));
      return -1;
    default: {
      const std::string text = TlsFailureText(tls_, tls_host_);
      ERR_clear_error();
      throw ESockError(SockErrorKind::kTlsFailed, text);
    }
  }
}

}  // namespace pagelathe
