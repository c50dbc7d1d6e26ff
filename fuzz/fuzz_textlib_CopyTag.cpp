// CopyTag keeps only tags: its result is empty or begins with "<", and copying again changes
// nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "textlib/Dizerezez.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string tags = pagelathe::CopyTag(text);
  if (!tags.empty() && tags[0] != '<') std::abort();
  if (pagelathe::CopyTag(tags) != tags) std::abort();
  // The entity functions run on the same bytes: decoding what was escaped gives back a text
  // without "&".
  if (text.find('&') == std::string::npos &&
      pagelathe::ChangeHSym(pagelathe::ChangeTSym(text)) != text)
    std::abort();
  return 0;
}
