// The HTTP/1.0 client. Each request uses a fresh connection: connect (through TLS for an
// "https://" URL, the certificate verified as `Tls` says), send the request, read the response
// header line by line and the body until the server closes, disconnect. With a time limit set,
// one limit covers the whole header; a header over 1 MB ends the request. Redirects (300, 301,
// 302, 303, 307, 308) are followed to their Location, between http and https too, at most 20
// times per request; a cookie set by a redirect is sent with every later request of this
// client.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "net/TExStringList.h"
#include "net/TPowersock.h"

namespace pagelathe {

enum class CmdType {
  CmdGET,
  CmdOPTIONS,
  CmdHEAD,
  CmdPOST,
  CmdPUT,
  CmdPATCH,
  CmdCOPY,
  CmdMOVE,
  CmdDELETE,
  CmdLINK,
  CmdUNLINK,
  CmdTRACE,
  CmdWRAPPED
};

using TResultEvent = std::function<void(CmdType cmd)>;

// Optional request header values.
struct THeaderInfo {
  std::string LocalMailAddress;
  std::string LocalProgram;
  std::string Cookie;
  std::string Referer;
  std::string UserId;
  std::string Password;
};

class TNMHTTP : public TPowersock {
 public:
  static constexpr int kMaxRedirects = 20;
  // A response header larger than this in total ends the request with an error.
  static constexpr size_t kMaxHeaderSize = size_t{1} << 20;

  explicit TNMHTTP(bool designing = false);
  ~TNMHTTP() override;

  // Published properties.
  std::string Body = "Default.htm";  // the response body, or the file that receives it
  std::string Header = "Head.txt";   // the response header, or the file that receives it
  THeaderInfo HeaderInfo;
  bool InputFileMode = false;   // the body goes to the file named by Body
  bool OutputFileMode = false;  // the request body is a file; the header goes to a file
  // The largest body kept in Body, in bytes (at most 2 GB - 2; 0: no limit). A larger one ends
  // the request with an error and leaves Body empty. A body received into a file is not
  // bounded by it.
  int64_t BodyLimit = 0;
  // How an https server's certificate is verified: the system's store, and the authority of
  // this file when it is set.
  TlsOptions Tls;
  TNotifyEvent OnAboutToSend;
  TResultEvent OnSuccess;
  TResultEvent OnFailure;
  THandlerEvent OnRedirect;
  TNotifyEvent OnAuthenticationNeeded;
  // When set, the body of the response that ends the request goes to it piece by piece as
  // it arrives, and Body is left empty (a redirect's body, read before it is known to be the
  // last, goes to it whole once it is). Header is complete before the first piece.
  TDataSink BodySink;

  // Run-time state.
  std::string RequestUrl;
  std::string RequestPath;
  CmdType CurrentCmd = CmdType::CmdGET;
  // The scheme of the current request is "https" (a URL without a scheme keeps the last one,
  // as it keeps the port).
  bool SecureRequest = false;
  std::string SendData;
  std::string DestinationUri;
  TExStringList HeaderLines;
  std::string LocationText;
  std::string CookieText;
  bool EncodePostBody = true;

  void Abort() override;

  // The steps of a request.
  virtual void HTTPConnect();
  virtual void ParseURL();
  virtual void AssembleHTTPHeader();
  virtual void RemoveHeader();
  virtual void SendHTTP();

  // The verbs: each returns when the response has been read, or raises.
  virtual void Options(const std::string& url);
  virtual void Get(const std::string& url);
  virtual void Post(const std::string& url, const std::string& data);
  virtual void Put(const std::string& url, const std::string& data);
  virtual void Head(const std::string& url);
  virtual void Patch(const std::string& url, const std::string& data);
  virtual void Delete(const std::string& url);
  virtual void Trace(const std::string& url, const std::string& data);
  virtual void Copy(const std::string& url, const std::string& destination);
  virtual void Move(const std::string& url, const std::string& destination);
  virtual void Link(const std::string& url, const std::string& destination);
  virtual void UnLink(const std::string& url, const std::string& destination);
  // Sends `data` as the whole request (its own request line and header lines included).
  virtual void Wrapped(const std::string& url, const std::string& data);

 private:
  void Run(CmdType cmd, const std::string& url);
  void HandBodyToSink();
};

}  // namespace pagelathe
