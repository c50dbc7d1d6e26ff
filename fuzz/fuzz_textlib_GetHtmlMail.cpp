// Mailto targets hold no blank, quote, control character or ">".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "textlib/Dizerezez.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string html(reinterpret_cast<const char*>(data), size);
  for (const std::string& target : pagelathe::GetHtmlMail(html)) {
    for (char c : target)
      if (c == ' ' || c == '"' || c == '>' || static_cast<unsigned char>(c) < 32) std::abort();
  }
  return 0;
}
