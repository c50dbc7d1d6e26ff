// DeleteTag and CopyTag split every text into its tag bytes and its other bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "textlib/Dizerezez.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string without = pagelathe::DeleteTag(text);
  if (without.find('<') != std::string::npos) std::abort();
  if (without.size() + pagelathe::CopyTag(text).size() != text.size()) std::abort();
  const std::string collapsed = pagelathe::DelDoubBlank(without);
  if (collapsed.find("  ") != std::string::npos) std::abort();
  return 0;
}
