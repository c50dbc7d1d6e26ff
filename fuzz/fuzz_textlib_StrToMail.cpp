// Every address found is at most 255 address characters with a name, an "@" and a host.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "textlib/Dizerezez.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string allowed = "-.@_0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  for (const std::string& address : pagelathe::StrToMail(text)) {
    if (address.size() > 255 || address.find_first_not_of(allowed) != std::string::npos)
      std::abort();
    const std::size_t at = address.find('@');
    if (at == 0 || at == std::string::npos || at + 1 == address.size()) std::abort();
  }
  return 0;
}
