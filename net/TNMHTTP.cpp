// The HTTP client: URL parsing, request building, the response header, redirects.
#include "net/TNMHTTP.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>

#include "net/FileSink.h"
#include "net/NetWords.h"
#include "net/PowersockDetail.h"
#include "net/TNMURL.h"
#include "net/TNMUUProcessor.h"
#include "platform/AtomicFile.h"
#include "platform/IntParse.h"
#include "platform/Letters.h"

namespace pagelathe {
namespace {

constexpr size_t kMaxPath = 256;

std::string WithoutLineEnd(std::string line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
    line.pop_back();
  return line;
}

bool IsBlankLine(const std::string& line) {
  return line.empty() || line == "\n" || line == "\r\n";
}

const char* VerbOf(CmdType cmd) {
  switch (cmd) {
    case CmdType::CmdGET:
      return "GET ";
    case CmdType::CmdOPTIONS:
      return "OPTIONS ";
    case CmdType::CmdHEAD:
      return "HEAD ";
    case CmdType::CmdPOST:
      return "POST ";
    case CmdType::CmdPUT:
      return "PUT ";
    case CmdType::CmdPATCH:
      return "PATCH ";
    case CmdType::CmdCOPY:
      return "COPY ";
    case CmdType::CmdMOVE:
      return "MOVE ";
    case CmdType::CmdDELETE:
      return "DELETE ";
    case CmdType::CmdLINK:
      return "LINK ";
    case CmdType::CmdUNLINK:
      return "UNLINK ";
    case CmdType::CmdTRACE:
      return "TRACE ";
    case CmdType::CmdWRAPPED:
      return "";
  }
  return "";
}

bool SendsBody(CmdType cmd) {
  return cmd == CmdType::CmdPOST || cmd == CmdType::CmdPUT || cmd == CmdType::CmdPATCH ||
         cmd == CmdType::CmdTRACE || cmd == CmdType::CmdWRAPPED;
}

// The status code of a status line: its second blank-separated field as a whole number that
// fits the reply code, else 0. "HTTP/1.1 200 OK" -> 200.
int16_t StatusCodeOf(const std::string& line) {
  const std::optional<int> value = ParseInteger(NthWord(WithoutLineEnd(line), ' ', 2));
  if (!value || *value < -32768 || *value > 32767) return 0;
  return static_cast<int16_t>(*value);
}

// The first run of decimal digits after `from` (0 when there is none), held at the largest
// value a transfer counter keeps.
int64_t DigitsValue(const std::string& line, size_t from) {
  size_t i = from;
  while (i < line.size() && (line[i] < '0' || line[i] > '9'))
    ++i;
  int64_t value = 0;
  for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
    value = value > (INT64_MAX - 9) / 10 ? INT64_MAX : value * 10 + (line[i] - '0');
  }
  return value;
}

// "The response header is larger than 1 MB", "The response body is larger than 1000 bytes".
std::string TooLarge(const char* part, uint64_t limit) {
  constexpr uint64_t kMegabyte = uint64_t{1} << 20;
  std::string message = "The response ";
  message.append(part).append(" is larger than ");
  if (limit % kMegabyte == 0)
    return message.append(std::to_string(limit / kMegabyte)).append(" MB");
  return message.append(std::to_string(limit)).append(" bytes");
}

// The redirects that lead somewhere else. 304 (not modified) and 305/306 do not.
bool FollowsLocation(int code) {
  return (code >= 300 && code <= 303) || code == 307 || code == 308;
}

}  // namespace

TNMHTTP::TNMHTTP(bool designing) : TPowersock(designing) {}

TNMHTTP::~TNMHTTP() = default;

void TNMHTTP::Abort() {
  SetWaitDone(true);
  Cancel();
}

// ---- Verbs ----

void TNMHTTP::Run(CmdType cmd, const std::string& url) {
  RequestUrl = url;
  CurrentCmd = cmd;
  HTTPConnect();
}

void TNMHTTP::Get(const std::string& url) {
  Run(CmdType::CmdGET, url);
}
void TNMHTTP::Options(const std::string& url) {
  Run(CmdType::CmdOPTIONS, url);
}
void TNMHTTP::Head(const std::string& url) {
  Run(CmdType::CmdHEAD, url);
}
void TNMHTTP::Delete(const std::string& url) {
  Run(CmdType::CmdDELETE, url);
}

void TNMHTTP::Post(const std::string& url, const std::string& data) {
  if (EncodePostBody && !OutputFileMode) {
    TNMURL coder;
    coder.InputString = data;
    SendData = coder.GetEncodeString();
  } else {
    SendData = data;
  }
  Run(CmdType::CmdPOST, url);
}

void TNMHTTP::Put(const std::string& url, const std::string& data) {
  SendData = data;
  Run(CmdType::CmdPUT, url);
}

void TNMHTTP::Patch(const std::string& url, const std::string& data) {
  SendData = data;
  Run(CmdType::CmdPATCH, url);
}

void TNMHTTP::Trace(const std::string& url, const std::string& data) {
  SendData = data;
  Run(CmdType::CmdTRACE, url);
}

void TNMHTTP::Wrapped(const std::string& url, const std::string& data) {
  SendData = data;
  Run(CmdType::CmdWRAPPED, url);
}

void TNMHTTP::Copy(const std::string& url, const std::string& destination) {
  DestinationUri = destination;
  Run(CmdType::CmdCOPY, url);
}

void TNMHTTP::Move(const std::string& url, const std::string& destination) {
  DestinationUri = destination;
  Run(CmdType::CmdMOVE, url);
}

void TNMHTTP::Link(const std::string& url, const std::string& destination) {
  DestinationUri = destination;
  SendData = "Send.dat";
  Run(CmdType::CmdLINK, url);
}

void TNMHTTP::UnLink(const std::string& url, const std::string& destination) {
  DestinationUri = destination;
  SendData = "Send.dat";
  Run(CmdType::CmdUNLINK, url);
}

// ---- The request loop ----

void TNMHTTP::HTTPConnect() {
  int redirects = 0;
  for (;;) {
    ParseURL();
    AssembleHTTPHeader();
    if (OnAboutToSend) OnAboutToSend(*this);
    try {
      Connect();
      if (SecureRequest) StartTls(Host, Tls);
      SendHTTP();
      ReplyCode = 0;
      RemoveHeader();
      if (InputFileMode) {
        CaptureFile(Body);
      } else if (BodySink && !FollowsLocation(ReplyCode)) {
        Body.clear();
        CaptureSink(BodySink);
      } else if (BodyLimit > 0) {
        // One byte over the limit is enough to know: the capture stops there.
        const int64_t most = std::min<int64_t>(BodyLimit, INT32_MAX - 1);
        CaptureString(Body, static_cast<int32_t>(most + 1));
        if (static_cast<int64_t>(Body.size()) > most) {
          std::string().swap(Body);  // a body too large is not kept either
          throw Exception(TooLarge("body", static_cast<uint64_t>(most)));
        }
      } else {
        CaptureString(Body, -1);
      }
      if (ReplyCode < 299) {
        if (OnSuccess) OnSuccess(CurrentCmd);
        StatusMessage(kLevelCompleted, "Transaction Completed");
      } else if (ReplyCode > 399) {
        if (OnFailure) OnFailure(CurrentCmd);
      } else if (FollowsLocation(ReplyCode)) {
        RequestUrl = LocationText;
        // A 303 is answered by fetching the other page; a HEAD stays a HEAD.
        if (ReplyCode == 303 && CurrentCmd != CmdType::CmdHEAD) CurrentCmd = CmdType::CmdGET;
      }
    } catch (...) {
      Disconnect();
      throw;
    }
    Disconnect();
    if (ReplyCode >= 300 && ReplyCode <= 398) {
      bool handled = false;
      if (!CookieText.empty()) HeaderInfo.Cookie = CookieText;
      if (OnRedirect) OnRedirect(handled);
      if (handled) {
        HandBodyToSink();
        return;
      }
      if (RequestUrl.find('/') == std::string::npos) {
        // A bare name goes to the usual port of the host; an https page keeps its scheme.
        std::string url(SecureRequest ? "https://" : "http://");
        url.append(Host).append("/").append(RequestUrl);
        RequestUrl = std::move(url);
      }
    }
    if (ReplyCode == 401 && OnAuthenticationNeeded) OnAuthenticationNeeded(*this);
    // Only the redirects lead somewhere else; every other code ends the request as it stands,
    // and so does a chain of redirects that will not end.
    if (!FollowsLocation(ReplyCode)) return;
    if (++redirects > kMaxRedirects) {
      HandBodyToSink();
      return;
    }
  }
}

void TNMHTTP::HandBodyToSink() {
  if (!BodySink || InputFileMode || !FollowsLocation(ReplyCode)) return;
  BodySink(Body.data(), Body.size());
  Body.clear();
}

void TNMHTTP::ParseURL() {
  const std::string& url = RequestUrl;
  if (url.empty()) throw Exception("Empty URL");
  // A line break or another control byte would make header lines of its own.
  for (const char c : url) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) throw Exception("Invalid character in URL");
  }
  if (Port == 0) Port = 80;

  const bool has_slashes = url.find("//") != std::string::npos;
  if (has_slashes) {
    const size_t third = static_cast<size_t>(NthPos(url, '/', 3));
    RequestPath = third <= url.size() ? url.substr(third - 1, kMaxPath) : std::string();
  } else if (const size_t slash = url.find('/'); slash != std::string::npos) {
    RequestPath = url.substr(slash, kMaxPath);
  } else {
    RequestPath.clear();
  }

  if (const size_t colon = url.find(':'); colon != std::string::npos) {
    const std::string scheme = AsciiLowerCase(url.substr(0, colon));
    SecureRequest = scheme == "https";
    if (scheme == "gopher") {
      Port = 70;
    } else if (scheme == "ftp") {
      Port = 21;
    } else if (SecureRequest) {
      // A proxy would need a tunnel, which this client does not make.
      if (!Proxy.empty()) throw Exception("HTTPS through a proxy is not supported");
      Port = 443;
    } else {
      Port = 80;
    }
  }

  std::string host;
  if (has_slashes) {
    host = NthWord(url, '/', 3);
  } else if (url.front() != '/') {
    host = NthWord(url, '/', 1);
  }
  if (const size_t colon = host.find(':'); colon != std::string::npos) {
    const std::string port_text = NthWord(host.substr(colon + 1), ':', 1);
    const int port = StrToInt(port_text);
    if (port < 1 || port > 65535) throw Exception("Port number out of range: " + port_text);
    Port = port;
    host.erase(colon);
  }
  if (!host.empty()) Host = host;
  if (RequestPath.empty()) {
    RequestPath.assign(1, '/');
    RequestUrl.push_back('/');
  }
}

void TNMHTTP::AssembleHTTPHeader() {
  HeaderLines.Clear();
  // The data of a wrapped request is the whole request.
  if (CurrentCmd == CmdType::CmdWRAPPED) return;
  HeaderLines.Add(VerbOf(CurrentCmd) + (Proxy.empty() ? RequestPath : RequestUrl) + " HTTP/1.0");
  if (!Proxy.empty()) {
    HeaderLines.Add("Proxy-Connection: Keep-Alive");
    HeaderLines.Add("Host: " + Host);
  }
  HeaderLines.SetValue("Host", Host);
  HeaderLines.Add("Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff");
  HeaderLines.Add("Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript");
  if (!HeaderInfo.LocalProgram.empty()) HeaderLines.SetValue("User-Agent", HeaderInfo.LocalProgram);
  if (!HeaderInfo.LocalMailAddress.empty()) {
    HeaderLines.SetValue("From", HeaderInfo.LocalMailAddress);
  }
  if (!HeaderInfo.Cookie.empty()) HeaderLines.SetValue("Cookie", HeaderInfo.Cookie);
  if (!HeaderInfo.Referer.empty()) HeaderLines.SetValue("Referer", HeaderInfo.Referer);
  if (!HeaderInfo.UserId.empty() && !HeaderInfo.Password.empty()) {
    // One Base64 text, however long the credentials.
    HeaderLines.SetValue("Authorization",
                         "Basic " + Base64Text(HeaderInfo.UserId + ":" + HeaderInfo.Password));
  }
  HeaderLines.Add("Content-type: application/x-www-form-urlencoded");
  if (CurrentCmd == CmdType::CmdCOPY || CurrentCmd == CmdType::CmdMOVE) {
    HeaderLines.Add("URI-header: " + DestinationUri);
  } else if (CurrentCmd == CmdType::CmdLINK || CurrentCmd == CmdType::CmdUNLINK) {
    HeaderLines.Add("Link: " + DestinationUri);
    // They send no body.
    HeaderLines.Add("Content-Length: 0");
  }
  if (SendsBody(CurrentCmd)) {
    const int64_t length =
        OutputFileMode ? FileSizeOf(SendData) : static_cast<int64_t>(SendData.size());
    HeaderLines.Add("Content-Length: " + std::to_string(length));
  }
}

void TNMHTTP::SendHTTP() {
  if (CurrentCmd != CmdType::CmdWRAPPED) {
    std::string request;
    for (const std::string& line : HeaderLines.Strings)
      request += line + "\r\n";
    Write(request);
    Writeln("");
  }
  if (!SendsBody(CurrentCmd)) return;
  if (OutputFileMode) {
    SendFile(SendData);
  } else {
    // Every byte, so that the body is as long as its Content-Length says.
    SendAll(SendData);
  }
}

void TNMHTTP::RemoveHeader() {
  ExpectedTotal = 0;
  CookieText.clear();
  std::string header;
  std::string& target = OutputFileMode ? header : Header;
  target.clear();
  // One time limit for the whole header, and a bound on its size, so that a peer sending
  // header lines without end is stopped however fast or slow they come.
  const TimeSpan limit(*this);
  const auto take = [this, &target](const std::string& line) {
    target += line;
    if (target.size() > kMaxHeaderSize) throw Exception(TooLarge("header", kMaxHeaderSize));
    DeliverTimer();
  };
  std::string line = ReadLn();
  if (!line.empty()) ReplyCode = StatusCodeOf(line);
  take(line);
  while (!IsBlankLine(line)) {
    line = ReadLn();
    const std::string field = NthWord(AsciiUpperCase(line), ' ', 1);
    if (field == "SET-COOKIE:") {
      CookieText = WithoutLineEnd(line.size() > 12 ? line.substr(12) : std::string());
      CookieText.resize(std::min(CookieText.size(), kMaxPath));
    } else if (field == "LOCATION:") {
      LocationText = WithoutLineEnd(line.size() > 10 ? line.substr(10) : std::string());
      LocationText.resize(std::min(LocationText.size(), kMaxPath));
    } else if (field == "CONTENT-LENGTH:") {
      ExpectedTotal = DigitsValue(line, 15);
    }
    take(line);
  }
  if (OutputFileMode) {
    AtomicFile file(Header);
    file.Write(header);
    file.Commit();
  }
}

}  // namespace pagelathe
