// An extension is "0" or a non-empty text without ".", "#", "?", "/", "\" or ":", and never a
// zone or generic domain.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "textlib/Dizerezez.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string link(reinterpret_cast<const char*>(data), size);
  const std::string ext = pagelathe::GetExtLink(link);
  if (ext.empty() || ext.find_first_of(".#?/\\:") != std::string::npos) std::abort();
  if (ext != "0" && pagelathe::ZoneToState(ext) != "0") std::abort();
  return 0;
}
