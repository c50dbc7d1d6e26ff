// The INI reader and writer. Lines are kept as they were read; lookups scan them with the
// profile rules, so hand-written comments and unknown keys survive a write. The bytes from the
// first NUL on are no lines to the reader but are written back untouched.
#include "platform/IniFile.h"

#include <cerrno>

#include "platform/Errors.h"
#include "platform/FileIO.h"
#include "platform/IntParse.h"
#include "platform/Letters.h"
#include "platform/TextList.h"
#include "platform/Utf8.h"
#include "platform/Win1251.h"

namespace pagelathe {
namespace {

bool IsBlank(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 0x09 && u <= 0x0D) || u == 0x1A || u == 0x20;
}

std::string_view Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b]))
    ++b;
  while (e > b && IsBlank(s[e - 1]))
    --e;
  return s.substr(b, e - b);
}

// The section name when `line` is a header, else false.
bool SectionName(std::string_view line, std::string_view& name) {
  const std::string_view t = Trim(line);
  if (t.empty() || t.front() != '[') return false;
  const size_t close = t.rfind(']');
  if (close == std::string_view::npos || close == 0) return false;
  name = Trim(t.substr(1, close - 1));
  return true;
}

bool IsComment(std::string_view line) {
  const std::string_view t = Trim(line);
  return !t.empty() && t.front() == ';';
}

// Key name of an ordinary line (the whole trimmed line when it has no "=").
std::string_view KeyName(std::string_view line, bool& has_value) {
  const size_t eq = line.find('=');
  has_value = eq != std::string_view::npos;
  return Trim(has_value ? line.substr(0, eq) : line);
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

std::string KeyLine(std::string_view key, std::string_view value) {
  std::string line;
  line.reserve(key.size() + 1 + value.size());
  line.append(key).append("=").append(value);
  return line;
}

}  // namespace

IniFile::IniFile(std::string path, uint64_t limit) : path_(std::move(path)) {
  std::string bytes;
  const ReadResult result = TryReadUserFile(path_, limit, bytes);
  if (result.ok()) {
    Load(bytes);
  } else if (result.status != ReadStatus::kCannotOpen || result.error != ENOENT) {
    read_error_ = ReadFailureMessage(path_, result, limit);
  }
}

IniFile::IniFile(Bytes bytes) {
  Load(bytes.bytes);
}

IniFile IniFile::FromBytes(std::string_view bytes) {
  return IniFile(Bytes{bytes});
}

void IniFile::Load(std::string_view bytes) {
  const size_t nul = bytes.find('\0');
  const std::string_view text = bytes.substr(0, nul);
  // The lines are held in UTF-8; a Windows-1251 file is decoded here and encoded again when
  // written, which gives every line back byte for byte.
  encoding_ = EncodingOf(text);
  lines_ = SplitLines(encoding_ == TextEncoding::kUtf8 ? std::string(text) : Win1251ToUtf8(text));
  if (nul == std::string_view::npos) return;
  tail_.assign(bytes.substr(nul));
  tail_joins_ = !text.empty() && text.back() != '\r' && text.back() != '\n';
}

IniFile::~IniFile() {
  try {
    UpdateFile();
  } catch (...) {
  }
}

IniFile::Found IniFile::Find(std::string_view section, std::string_view key) const {
  Found found;
  bool inside = false;
  for (size_t i = 0; i < lines_.size(); ++i) {
    const std::string& line = lines_[i];
    std::string_view name;
    if (SectionName(line, name)) {
      if (inside) break;  // only the first section of a name counts
      if (SameText(name, section)) {
        inside = true;
        found.section_line = static_cast<long>(i);
        found.last_line = static_cast<long>(i);
      }
      continue;
    }
    if (!inside) continue;
    if (Trim(line).empty()) continue;
    found.last_line = static_cast<long>(i);
    if (found.key_line >= 0 || IsComment(line)) continue;
    bool has_value = false;
    if (SameText(KeyName(line, has_value), key)) found.key_line = static_cast<long>(i);
  }
  return found;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                const std::string& fallback) const {
  const Found found = Find(section, key);
  if (found.key_line < 0) return fallback;
  const std::string& line = lines_[static_cast<size_t>(found.key_line)];
  const size_t eq = line.find('=');
  if (eq == std::string::npos) return fallback;
  return std::string(Unquote(Trim(std::string_view(line).substr(eq + 1))));
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
  const Found found = Find(section, key);
  if (found.key_line < 0) return fallback;
  return StrToIntDef(ReadString(section, key, ""), fallback);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  // Names and values are texts: bytes that are not UTF-8 are read as Windows-1251, as a file
  // would be, so that a write never leaves the profile unreadable in its own encoding.
  std::string decoded_section, decoded_key, decoded_value;
  const auto as_text = [](std::string_view& text, std::string& decoded) {
    if (IsValidUtf8(text)) return;
    decoded = Win1251ToUtf8(text);
    text = decoded;
  };
  as_text(section, decoded_section);
  as_text(key, decoded_key);
  as_text(value, decoded_value);
  size_t b = 0;
  while (b < value.size() && IsBlank(value[b]))
    ++b;
  value = value.substr(b);
  // A Windows-1251 file that must take a character it has no byte for is written whole in
  // UTF-8 from now on: every line is held decoded, so nothing is lost.
  if (encoding_ == TextEncoding::kWin1251 &&
      !(FitsWin1251(section) && FitsWin1251(key) && FitsWin1251(value)))
    encoding_ = TextEncoding::kUtf8;
  const Found found = Find(section, key);
  // A line written at the end (or the last line rewritten) ends with its own line break; the
  // tail no longer continues the line it was cut from.
  if (found.key_line >= 0) {
    std::string& line = lines_[static_cast<size_t>(found.key_line)];
    bool has_value = false;
    const std::string name(KeyName(line, has_value));
    line = KeyLine(name, value);
    if (static_cast<size_t>(found.key_line) + 1 == lines_.size()) tail_joins_ = false;
  } else if (found.section_line >= 0) {
    const auto at = static_cast<size_t>(found.last_line) + 1;
    if (at == lines_.size()) tail_joins_ = false;
    lines_.insert(lines_.begin() + static_cast<long>(at), KeyLine(key, value));
  } else {
    tail_joins_ = false;
    std::string header;
    header.reserve(section.size() + 2);
    header.append("[").append(section).append("]");
    lines_.push_back(std::move(header));
    lines_.push_back(KeyLine(key, value));
  }
  dirty_ = true;
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, IntToStr(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void IniFile::UpdateFile() {
  if (!dirty_) return;
  if (!read_error_.empty()) {
    std::string message = read_error_;
    message.append(" The file is kept as it is.");
    throw EFileError(message);
  }
  WriteFileAtomic(path_, Text(), Durability::kSynced);  // the settings: small and precious
  dirty_ = false;
}

std::string IniFile::Text() const {
  std::string text = JoinLines(lines_);
  if (encoding_ == TextEncoding::kWin1251) {
    TextEncoding encoding = encoding_;
    text = EncodeText(text, encoding);  // every line came from the code page: it fits
  }
  if (tail_.empty()) return text;
  if (tail_joins_ && !lines_.empty()) text.resize(text.size() - 2);
  text += tail_;
  return text;
}

}  // namespace pagelathe
