// TLS for every client of the program, on OpenSSL: the one place that sets up how a server's
// certificate is verified (the system's store of authorities, an extra authority the user
// names, the host name), for our socket client and for libcurl alike, and the words that say
// why a verification failed.
#pragma once

#include <string>

typedef struct ssl_ctx_st SSL_CTX;
typedef struct ssl_st SSL;

namespace pagelathe {

struct TlsOptions {
  // A PEM file of authorities trusted besides the system's store (a private authority); empty:
  // the system's store alone.
  std::string ca_file;
  friend bool operator==(const TlsOptions&, const TlsOptions&) = default;
};

// Sets up `context` to verify the server: the system's store, `options.ca_file` when given,
// peer verification on, TLS 1.2 at least. Raises Exception "Cannot read the certificate
// authority file FILE: reason" when the file is missing or holds no certificate.
void ConfigureVerification(SSL_CTX* context, const TlsOptions& options);

// Adds the authorities of `options.ca_file` alone (read once per process and kept) to the
// store of `context`: for a library that loads the system's store itself. Raises as
// ConfigureVerification does.
void AddExtraAuthorities(SSL_CTX* context, const TlsOptions& options);

// Sets up one connection of a client to verify that the certificate names `host` (a name or
// an IP address) and to send the name (SNI).
void ConfigureHostCheck(SSL* connection, const std::string& host);

// Why the verification of `connection` failed, in words: "certificate verify failed: the
// certificate is not for this host (127.0.0.1)", "... unable to get local issuer
// certificate", or the library's last error when the handshake failed for another reason.
[[nodiscard]] std::string TlsFailureText(SSL* connection, const std::string& host);

// The same words for a client that verifies through another library: `verify_result` is
// OpenSSL's result of the chain's verification, X509_V_OK when the chain was good and the
// certificate was refused for its name.
[[nodiscard]] std::string CertificateRefusalText(long verify_result, const std::string& host);

// A client context made once per set of options and kept for the process (contexts are
// costly to make: the system store is read once). Thread-safe.
[[nodiscard]] SSL_CTX* SharedClientContext(const TlsOptions& options);

}  // namespace pagelathe
