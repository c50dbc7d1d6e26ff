// Relative-link resolution and the other link functions on a base and a link cut from one
// input at its first NUL byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "textlib/Dizerezez.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = input.find('\0');
  const std::string base = input.substr(0, cut);
  const std::string link = cut == std::string::npos ? std::string() : input.substr(cut + 1);
  const std::string resolved = pagelathe::ConcatLink(base, link);
  if ((link.starts_with("http://") || link.starts_with("www.")) && resolved != link) std::abort();
  const std::string path = pagelathe::ExtractPath(base);
  if (path.empty() || path.back() != '/') std::abort();
  const int same = pagelathe::CompareLink(base, link);
  if (same != 0 && same != 1 && same != 3) std::abort();
  (void)pagelathe::CopyServer(link);
  (void)pagelathe::GetZone(link);
  return 0;
}
