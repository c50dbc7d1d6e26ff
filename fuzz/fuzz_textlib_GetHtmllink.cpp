// Anchor targets come out lower-cased, without "#" or blanks.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/Letters.h"
#include "textlib/Dizerezez.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string html(reinterpret_cast<const char*>(data), size);
  for (const std::string& target : pagelathe::GetHtmllink(html)) {
    if (target.find_first_of("# \"") != std::string::npos) std::abort();
    if (pagelathe::LowerCase(target) != target) std::abort();
    if (target.size() > html.size()) std::abort();
  }
  return 0;
}
