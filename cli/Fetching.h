// The HTTP client of the commands: the window's client with its settings (no proxy, no time
// limit), whose waits end at once when the user interrupts.
#pragma once

#include <string>

#include "cli/CommandLine.h"
#include "net/TNMHTTP.h"

namespace pagelathe::cli {

// Sets up `http` so that an interrupt cancels the request it runs.
void CancelOnInterrupt(TNMHTTP& http);

// The verification of https servers that --cacert asks for (the system's store alone when it
// is not given).
[[nodiscard]] TlsOptions TlsOptionsOf(const ParsedArguments& arguments);

// The body of the page at `url`, as the Get button fetches it.
[[nodiscard]] std::string FetchBody(const std::string& url, const TlsOptions& tls);

}  // namespace pagelathe::cli
