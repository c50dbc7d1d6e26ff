// The tests' web server and their certificate authority.
#include "support/TestWebServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace pagelathe::testing {
namespace {

// One connection's bytes, plain or through TLS.
class Channel {
 public:
  Channel(int fd, SSL_CTX* tls) : fd_(fd) {
    if (tls != nullptr) {
      ssl_ = SSL_new(tls);
      SSL_set_fd(ssl_, fd);
    }
  }
  ~Channel() {
    if (ssl_ != nullptr) SSL_free(ssl_);
  }
  bool Handshake() { return ssl_ == nullptr || SSL_accept(ssl_) == 1; }
  // Waits up to 100 ms for bytes; 0 when none came yet, -1 at the end.
  long Receive(char* buffer, size_t size) {
    if (ssl_ == nullptr || SSL_pending(ssl_) == 0) {
      pollfd entry{fd_, POLLIN, 0};
      if (::poll(&entry, 1, 100) == 0) return 0;
    }
    const long got = ssl_ != nullptr ? SSL_read(ssl_, buffer, static_cast<int>(size))
                                     : ::recv(fd_, buffer, size, 0);
    return got > 0 ? got : -1;
  }
  bool Send(const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
      const long n =
          ssl_ != nullptr
              ? SSL_write(ssl_, bytes.data() + done, static_cast<int>(bytes.size() - done))
              : ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
      if (n <= 0) return false;
      done += static_cast<size_t>(n);
    }
    return true;
  }

 private:
  int fd_;
  SSL* ssl_ = nullptr;
};

}  // namespace

std::string HttpReply(const TestRequest& request, int code, const std::string& extra,
                      const std::string& body) {
  std::string reply = "HTTP/1.1 " + std::to_string(code) + " Test\r\n" + extra +
                      "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
  if (request.method != "HEAD") reply += body;
  return reply;
}

TestWebServer::TestWebServer(Handler handler, const std::string& certificate,
                             const std::string& key)
    : handler_(std::move(handler)) {
  if (!certificate.empty()) {
    // A client that refuses the certificate closes while the handshake still writes: that
    // is an error of the write, not a signal that ends the test program.
    ::signal(SIGPIPE, SIG_IGN);
    SSL_CTX* context = SSL_CTX_new(TLS_server_method());
    if (SSL_CTX_use_certificate_chain_file(context, certificate.c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(context, key.c_str(), SSL_FILETYPE_PEM) != 1) {
      SSL_CTX_free(context);
      throw std::runtime_error("the test server cannot read " + certificate);
    }
    tls_ = context;
  }
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 128) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    throw std::runtime_error("the test server cannot listen");
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

TestWebServer::~TestWebServer() {
  stopping_ = true;
  acceptor_.join();
  for (std::thread& thread : threads_)
    thread.join();
  ::close(listener_);
  if (tls_ != nullptr) SSL_CTX_free(static_cast<SSL_CTX*>(tls_));
}

std::string TestWebServer::Url(const std::string& path) const {
  return std::string(tls_ != nullptr ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_) +
         path;
}

std::vector<std::string> TestWebServer::Seen(const std::string& target) const {
  const std::lock_guard lock(mutex_);
  const auto found = seen_.find(target);
  return found == seen_.end() ? std::vector<std::string>() : found->second;
}

int TestWebServer::RequestCount() const {
  const std::lock_guard lock(mutex_);
  return requests_;
}

void TestWebServer::AcceptLoop() {
  while (!stopping_) {
    pollfd entry{listener_, POLLIN, 0};
    if (::poll(&entry, 1, 50) <= 0) continue;
    const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    ++connections_;
    threads_.emplace_back([this, fd] { Serve(fd); });
  }
}

void TestWebServer::Serve(int fd) {
  {
    Channel channel(fd, static_cast<SSL_CTX*>(tls_));
    std::string pending;
    bool open = channel.Handshake();
    while (open && !stopping_) {
      const size_t end = pending.find("\r\n\r\n");
      if (end == std::string::npos) {
        char buffer[8192];
        const long got = channel.Receive(buffer, sizeof buffer);
        if (got < 0) break;
        pending.append(buffer, static_cast<size_t>(got));
        continue;
      }
      TestRequest request;
      request.head = pending.substr(0, end + 4);
      pending.erase(0, end + 4);
      const size_t space = request.head.find(' ');
      request.method = request.head.substr(0, space);
      request.target =
          request.head.substr(space + 1, request.head.find(' ', space + 1) - space - 1);
      {
        const std::lock_guard lock(mutex_);
        seen_[request.target].push_back(request.method + " " + request.target);
        ++requests_;
      }
      const TestReply reply = handler_(request);
      if (reply.silent) {
        while (!stopping_)
          ::poll(nullptr, 0, 20);
        break;
      }
      if (reply.reset) {
        linger option{1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &option, sizeof option);
        break;
      }
      open = channel.Send(reply.bytes) && !reply.close;
    }
  }
  ::close(fd);
}

int ClosedPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(fd);
  return ntohs(address.sin_port);
}

bool MakeTestAuthority(const std::string& folder, std::string& error) {
  const std::string script = folder + "/make-authority.sh";
  std::ofstream(script) << "set -e\ncd \"$(dirname \"$0\")\"\n"
                           "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 "
                           "-nodes -keyout ca.key -out ca.pem "
                           "-days 2 -subj /CN=Pagelathe-Test-CA\n"
                           "printf 'subjectAltName=IP:127.0.0.1\\n' > good.ext\n"
                           "printf 'subjectAltName=DNS:wrong.example\\n' > wrong.ext\n"
                           "for name in good wrong; do\n"
                           "  openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes "
                           "-keyout $name.key -out $name.csr "
                           "-subj /CN=$name\n"
                           "  openssl x509 -req -in $name.csr -CA ca.pem -CAkey ca.key "
                           "-CAcreateserial -out $name.pem -days 2 -extfile $name.ext\n"
                           "done\n";
  const std::string command = "sh '" + script + "' > '" + folder + "/openssl.log' 2>&1";
  if (std::system(command.c_str()) == 0) return true;
  error = "openssl failed; see " + folder + "/openssl.log";
  return false;
}

}  // namespace pagelathe::testing
