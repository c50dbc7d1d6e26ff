// TLS on OpenSSL: verification set up once for every client, and failures put in words.
#include "net/Tls.h"

#include <arpa/inet.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/Errors.h"

namespace pagelathe {
namespace {

std::string LastLibraryError() {
  const unsigned long code = ERR_peek_last_error();
  if (code == 0) return {};
  char text[256];
  ERR_error_string_n(code, text, sizeof text);
  return text;
}

bool IsIpAddress(const std::string& host) {
  unsigned char address[16];
  return inet_pton(AF_INET, host.c_str(), address) == 1 ||
         inet_pton(AF_INET6, host.c_str(), address) == 1;
}

// Plain words for the verification results a user meets; the library's own text otherwise.
std::string VerifyResultText(long result) {
  switch (result) {
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
      return "the certificate is not for this host";
    case X509_V_ERR_CERT_HAS_EXPIRED:
      return "the certificate has expired";
    case X509_V_ERR_CERT_NOT_YET_VALID:
      return "the certificate is not valid yet";
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
      return "the certificate is self-signed";
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
      return "the certificate's authority is not trusted (give it with --cacert)";
    case X509_V_ERR_CERT_REVOKED:
      return "the certificate has been revoked";
    default:
      return X509_verify_cert_error_string(result);
  }
}

// The certificates of an authority file, read once: parsing PEM for every connection would
// cost more than the connection itself.
const std::vector<X509*>& AuthoritiesOf(const std::string& file) {
  static std::mutex mutex;
  static std::map<std::string, std::vector<X509*>> loaded;
  const std::lock_guard lock(mutex);
  const auto found = loaded.find(file);
  if (found != loaded.end()) return found->second;
  std::FILE* stream = std::fopen(file.c_str(), "rb");
  if (stream == nullptr)
    throw Exception("Cannot read the certificate authority file " + file + ": " +
                    std::strerror(errno));
  std::vector<X509*> certificates;
  while (X509* certificate = PEM_read_X509(stream, nullptr, nullptr, nullptr))
    certificates.push_back(certificate);
  std::fclose(stream);
  ERR_clear_error();
  if (certificates.empty())
    throw Exception("Cannot read the certificate authority file " + file +
                    ": no certificate in it");
  return loaded.emplace(file, std::move(certificates)).first->second;
}

}  // namespace

void AddExtraAuthorities(SSL_CTX* context, const TlsOptions& options) {
  if (options.ca_file.empty()) return;
  X509_STORE* store = SSL_CTX_get_cert_store(context);
  for (X509* certificate : AuthoritiesOf(options.ca_file))
    X509_STORE_add_cert(store, certificate);  // a duplicate is refused, which is no harm
  ERR_clear_error();
}

void ConfigureVerification(SSL_CTX* context, const TlsOptions& options) {
  SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION);
  SSL_CTX_set_verify(context, SSL_VERIFY_PEER, nullptr);
  SSL_CTX_set_default_verify_paths(context);
  AddExtraAuthorities(context, options);
}

void ConfigureHostCheck(SSL* connection, const std::string& host) {
  X509_VERIFY_PARAM* parameters = SSL_get0_param(connection);
  X509_VERIFY_PARAM_set_hostflags(parameters, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
  if (IsIpAddress(host)) {
    X509_VERIFY_PARAM_set1_ip_asc(parameters, host.c_str());
  } else {
    SSL_set_tlsext_host_name(connection, host.c_str());
    X509_VERIFY_PARAM_set1_host(parameters, host.c_str(), 0);
  }
}

std::string TlsFailureText(SSL* connection, const std::string& host) {
  const long result = connection != nullptr ? SSL_get_verify_result(connection) : X509_V_OK;
  if (result != X509_V_OK) return CertificateRefusalText(result, host);
  const std::string library = LastLibraryError();
  return library.empty() ? "the TLS handshake failed" : "the TLS handshake failed: " + library;
}

std::string CertificateRefusalText(long verify_result, const std::string& host) {
  if (verify_result == X509_V_OK) verify_result = X509_V_ERR_HOSTNAME_MISMATCH;
  std::string text = "certificate verify failed: " + VerifyResultText(verify_result);
  if (verify_result == X509_V_ERR_HOSTNAME_MISMATCH ||
      verify_result == X509_V_ERR_IP_ADDRESS_MISMATCH)
    text += " (" + host + ")";
  return text;
}

SSL_CTX* SharedClientContext(const TlsOptions& options) {
  struct Free {
    void operator()(SSL_CTX* context) const { SSL_CTX_free(context); }
  };
  static std::mutex mutex;
  static std::map<std::string, std::unique_ptr<SSL_CTX, Free>> contexts;
  const std::lock_guard lock(mutex);
  auto& slot = contexts[options.ca_file];
  if (!slot) {
    std::unique_ptr<SSL_CTX, Free> context(SSL_CTX_new(TLS_client_method()));
    if (!context) throw Exception("The TLS library cannot start: " + LastLibraryError());
    ConfigureVerification(context.get(), options);
    slot = std::move(context);
  }
  return slot.get();
}

}  // namespace pagelathe
