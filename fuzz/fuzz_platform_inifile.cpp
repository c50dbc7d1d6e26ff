// The INI reader and writer on any bytes. The first line names a section, a key and a value
// ("section|key|value"); the rest is the file, UTF-8 or Windows-1251 by its bytes. A read gives
// the default or text of the file; an untouched file is written back byte for byte; a write
// keeps every byte from the first NUL on and the text of every other line (even when a
// Windows-1251 file has to become UTF-8), and a plain key reads back as written.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/IniFile.h"
#include "platform/TextList.h"
#include "platform/Utf8.h"

namespace {

bool IsBlank(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 0x09 && u <= 0x0D) || u == 0x1A || u == 0x20;
}

// A name or value that a write stores as it is and a read gives back unchanged.
bool Plain(std::string_view text, bool may_be_empty) {
  if (text.empty()) return may_be_empty;
  if (IsBlank(text.front()) || IsBlank(text.back())) return false;
  if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
      text.back() == text.front())
    return false;
  return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

// The lines of a profile's text before its first NUL, decoded by the file rule.
pagelathe::TextList TextLines(std::string_view bytes) {
  return pagelathe::SplitLines(
      pagelathe::DecodeText(std::string(bytes.substr(0, bytes.find('\0')))));
}

std::string_view Field(std::string_view& rest) {
  const size_t bar = rest.find('|');
  const std::string_view field = rest.substr(0, bar);
  rest = bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);
  return field;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t newline = input.find('\n');
  std::string_view probe = input.substr(0, newline);
  const std::string_view file =
      newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1);
  const std::string section(Field(probe));
  const std::string key(Field(probe));
  const std::string value(probe);

  pagelathe::IniFile ini = pagelathe::IniFile::FromBytes(file);
  const std::string fallback = "\x01<default>";
  const std::string read = ini.ReadString(section, key, fallback);
  const std::string text = pagelathe::DecodeText(std::string(file.substr(0, file.find('\0'))));
  if (read != fallback && text.find(read) == std::string::npos) std::abort();
  (void)ini.ReadInteger(section, key, 7);
  (void)ini.ReadBool(section, key, true);
  if (ini.Text() != file && file.find('\0') == std::string_view::npos &&
      pagelathe::SplitLines(ini.Text()) != pagelathe::SplitLines(file))
    std::abort();  // an untouched profile is its lines

  const std::string before = ini.Text();
  ini.WriteString(section, key, value);
  const std::string after = ini.Text();
  const size_t nul = file.find('\0');
  if (nul != std::string_view::npos && !std::string_view(after).ends_with(file.substr(nul)))
    std::abort();
  // The lines before the NUL: all kept but the one rewritten, at most two added (when what is
  // written makes no line of its own).
  const std::string written = section + key + value;
  if (written.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) return 0;
  const pagelathe::TextList old_lines = TextLines(before);
  const pagelathe::TextList new_lines = TextLines(after);
  if (new_lines.size() < old_lines.size() || new_lines.size() > old_lines.size() + 2) std::abort();
  std::unordered_map<std::string_view, long> count;
  for (const std::string& line : new_lines)
    ++count[line];
  long missing = 0;
  for (const std::string& line : old_lines)
    if (--count[line] < 0) ++missing;
  if (missing > 1) std::abort();

  // What was written is text: bytes that are not UTF-8 were taken for Windows-1251.
  const std::string section_text = pagelathe::DecodeText(section);
  const std::string key_text = pagelathe::DecodeText(key);
  const std::string value_text = pagelathe::DecodeText(value);
  const bool plain_key = Plain(key_text, false) && key_text.find('=') == std::string::npos &&
                         key_text.front() != ';' && key_text.front() != '[';
  if (Plain(section_text, true) && plain_key && Plain(value_text, true)) {
    if (pagelathe::IniFile::FromBytes(after).ReadString(section_text, key_text, fallback) !=
        value_text)
      std::abort();
  }
  return 0;
}
