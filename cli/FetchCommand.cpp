// pagelathe fetch: the page fetch of the Links Grabber as a command: the body of the final
// response (redirects followed) streamed to standard output or a file as it arrives, the
// response header to standard error or, with --include, before the body.
#include "cli/Commands.h"
#include "cli/Fetching.h"
#include "cli/Interrupt.h"
#include "cli/Output.h"

namespace pagelathe::cli {

void CancelOnInterrupt(TNMHTTP& http) {
  http.Pump = [&http] {
    if (Interrupted()) http.Cancel();
  };
}

TlsOptions TlsOptionsOf(const ParsedArguments& arguments) {
  TlsOptions tls;
  tls.ca_file = arguments.ValueOr("cacert", "");
  if (arguments.Has("cacert") && tls.ca_file.empty())
    throw UsageError("option --cacert: no file given");
  // A file that cannot be read fails before any request is made.
  if (!tls.ca_file.empty()) static_cast<void>(SharedClientContext(tls));
  return tls;
}

std::string FetchBody(const std::string& url, const TlsOptions& tls) {
  TNMHTTP http;
  http.Tls = tls;
  CancelOnInterrupt(http);
  http.Get(url);
  http.Disconnect();
  return std::move(http.Body);
}

int RunFetch(const ParsedArguments& arguments) {
  const std::vector<std::string>& operands = arguments.Operands();
  if (operands.size() != 1) throw UsageError(operands.empty() ? "no URL given" : "one URL only");
  const bool include = arguments.Has("include");
  const std::optional<std::string> path = arguments.Value("output");
  Output output = path ? Output(*path) : Output();
  TNMHTTP http;
  http.Tls = TlsOptionsOf(arguments);
  CancelOnInterrupt(http);
  bool header_written = false;
  // The header of the response whose body follows is complete when its first piece comes.
  const auto write_header = [&] {
    if (header_written) return;
    header_written = true;
    if (include) {
      output.Write(http.Header);
    } else {
      WriteError(http.Header);
    }
  };
  http.BodySink = [&](const char* data, size_t length) {
    write_header();
    output.Write(std::string_view(data, length));
  };
  http.Get(operands[0]);
  http.Disconnect();
  write_header();
  output.Commit();
  return 0;
}

}  // namespace pagelathe::cli
