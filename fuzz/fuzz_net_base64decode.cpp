// The Base64 decoder on any text, and the round trip of encoding.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "net/TNMUUProcessor.h"

namespace {

std::string Run(pagelathe::UUMethods method, bool encode, const std::string& input) {
  std::stringstream source(input);
  std::stringstream target;
  pagelathe::TNMUUProcessor coder;
  coder.Method = method;
  coder.SourceStream = &source;
  coder.TargetStream = &target;
  if (encode) {
    coder.Encode();
  } else {
    coder.Decode();
  }
  return target.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto method = pagelathe::UUMethods::uuMime;
  if (Run(method, false, text).size() > text.size()) __builtin_trap();
  if (Run(method, false, Run(method, true, text)) != text) __builtin_trap();
  return 0;
}
