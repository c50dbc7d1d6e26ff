// The language-file reader on any file: every key of the language table reads as the current
// text or as text of the file (its lines before the first NUL, UTF-8 or Windows-1251 by their
// bytes), and what it reads is UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/Localization.h"
#include "platform/IniFile.h"
#include "platform/Utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const pagelathe::IniFile file = pagelathe::IniFile::FromBytes(bytes);
  const std::string text = pagelathe::DecodeText(std::string(bytes.substr(0, bytes.find('\0'))));
  const std::string current = "\x01<current>";
  for (const pagelathe::LanguageKey& key : pagelathe::LanguageKeys()) {
    const std::string value = pagelathe::ReadLanguageValue(file, key, current);
    if (value == current) continue;
    if (!pagelathe::IsValidUtf8(value) || text.find(value) == std::string::npos) std::abort();
  }
  return 0;
}
