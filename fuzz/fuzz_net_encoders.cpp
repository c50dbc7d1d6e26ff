// The Base64 and uu encoders on any bytes: lines of the coder's alphabet only, 60 characters
// of data at most, and decoding gives the bytes back; the one-line Base64 form of the
// Authorization header holds no line break and decodes back too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/CoderRun.h"
#include "platform/TextList.h"

using pagelathe::UUMethods;
using pagelathe::fuzzing::RunCoder;

namespace {

void CheckLines(const std::string& encoded, UUMethods method) {
  if (!encoded.empty() && !encoded.ends_with("\r\n")) std::abort();
  const bool mime = method == UUMethods::uuMime;
  for (const std::string& line : pagelathe::SplitLines(encoded)) {
    if (line.size() > (mime ? 60u : 61u)) std::abort();
    for (const char c : line) {
      const bool known =
          c != '\0' && (mime ? std::strchr(pagelathe::MimeTable, c) != nullptr || c == '='
                             : std::strchr(pagelathe::UUTABLE, c) != nullptr);
      if (!known) std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  for (const UUMethods method : {UUMethods::uuMime, UUMethods::uuCode}) {
    const std::string encoded = RunCoder(method, true, bytes);
    CheckLines(encoded, method);
    if (RunCoder(method, false, encoded) != bytes) std::abort();
  }
  const std::string line = pagelathe::Base64Text(bytes);
  if (line.find_first_of("\r\n") != std::string::npos) std::abort();
  if (line.size() != (bytes.size() + 2) / 3 * 4) std::abort();
  if (RunCoder(UUMethods::uuMime, false, line) != bytes) std::abort();
  return 0;
}
