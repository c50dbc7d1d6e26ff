// The uudecoder on any text, and the round trip of encoding.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/CoderRun.h"

using pagelathe::fuzzing::RunCoder;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto method = pagelathe::UUMethods::uuCode;
  // A line's count may promise more bytes than it holds: the missing ones are zeros, at
  // most 63 per line of three characters or more.
  if (RunCoder(method, false, text).size() > 21 * text.size()) __builtin_trap();
  if (RunCoder(method, false, RunCoder(method, true, text)) != text) __builtin_trap();
  return 0;
}
