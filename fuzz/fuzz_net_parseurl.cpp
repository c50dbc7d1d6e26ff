// URL parsing and request building on any text: a request or a clear error.
#include <cstddef>
#include <cstdint>
#include <string>

#include "net/TNMHTTP.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pagelathe::TNMHTTP http;
  http.RequestUrl.assign(reinterpret_cast<const char*>(data), size);
  try {
    http.ParseURL();
    http.AssembleHTTPHeader();
  } catch (const pagelathe::Exception&) {
    return 0;
  }
  // No request line or header line may hold a line break of its own.
  for (const std::string& line : http.HeaderLines.Strings) {
    if (line.find_first_of("\r\n") != std::string::npos) __builtin_trap();
  }
  if (http.Port < 1 || http.Port > 65535 || http.RequestPath.empty()) __builtin_trap();
  return 0;
}
