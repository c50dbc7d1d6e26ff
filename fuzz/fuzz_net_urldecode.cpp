// URL decoding of any text, and the round trip of encoding.
#include <cstddef>
#include <cstdint>
#include <string>

#include "net/TNMURL.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  pagelathe::TNMURL url;
  bool failed = false;
  url.OnError = [&failed](pagelathe::TNMURL&, const std::string&, const std::string&) {
    failed = true;
  };
  const std::string decoded = url.URLDecode(text);
  if (decoded.size() > text.size()) __builtin_trap();
  if (failed && decoded != text) __builtin_trap();
  failed = false;
  if (url.URLDecode(url.URLEncode(text)) != text || failed) __builtin_trap();
  return 0;
}
