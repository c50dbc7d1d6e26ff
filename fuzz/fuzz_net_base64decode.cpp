// The Base64 decoder on any text, and the round trip of encoding.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/CoderRun.h"

using pagelathe::fuzzing::RunCoder;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto method = pagelathe::UUMethods::uuMime;
  if (RunCoder(method, false, text).size() > text.size()) __builtin_trap();
  if (RunCoder(method, false, RunCoder(method, true, text)) != text) __builtin_trap();
  return 0;
}
