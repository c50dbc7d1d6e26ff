// UTF-8 validation, decoding at the edge and code point steps, one linear pass each.
#include "platform/Utf8.h"

#include <cstring>

#include "platform/Win1251.h"

namespace pagelathe {
namespace {

// True when the eight bytes at `p` are all ASCII.
bool AsciiWord(const char* p) {
  uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return (word & 0x8080808080808080ull) == 0;
}

// The length of the sequence a lead byte begins (0 when it cannot begin one), and the range
// of the byte after it.
int SequenceLength(unsigned char lead, unsigned char& low, unsigned char& high) {
  low = 0x80;
  high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) {
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
    return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
    return 4;
  }
  return 0;
}

}  // namespace

void Utf8Validator::Feed(std::string_view bytes) {
  if (!valid_) return;
  const char* p = bytes.data();
  const char* const end = p + bytes.size();
  while (p < end) {
    if (needed_ == 0) {
      while (end - p >= 8 && AsciiWord(p))
        p += 8;
      if (p == end) break;
      const auto lead = static_cast<unsigned char>(*p++);
      if (lead < 0x80) continue;
      const int length = SequenceLength(lead, low_, high_);
      if (length == 0) {
        valid_ = false;
        return;
      }
      needed_ = length - 1;
      multi_byte_ = true;
      continue;
    }
    const auto next = static_cast<unsigned char>(*p++);
    if (next < low_ || next > high_) {
      valid_ = false;
      return;
    }
    low_ = 0x80;
    high_ = 0xBF;
    --needed_;
  }
}

bool IsValidUtf8(std::string_view bytes) {
  Utf8Validator validator;
  validator.Feed(bytes);
  return validator.Complete();
}

bool IsAscii(std::string_view bytes) {
  const char* p = bytes.data();
  const char* const end = p + bytes.size();
  for (; end - p >= 8; p += 8)
    if (!AsciiWord(p)) return false;
  for (; p < end; ++p)
    if (static_cast<unsigned char>(*p) >= 0x80) return false;
  return true;
}

std::string DecodeText(std::string bytes) {
  if (IsValidUtf8(bytes)) return bytes;
  return Win1251ToUtf8(bytes);
}

std::string ShownName(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  std::string shown;
  shown.reserve(bytes.size() + bytes.size() / 2);
  size_t start = 0;
  while (start <= bytes.size()) {
    size_t end = bytes.find('/', start);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view part = bytes.substr(start, end - start);
    shown += IsValidUtf8(part) ? std::string(part) : Win1251ToUtf8(part);
    if (end < bytes.size()) shown += '/';
    start = end + 1;
  }
  return shown;
}

std::string EncodeText(std::string_view utf8, TextEncoding& encoding) {
  if (encoding == TextEncoding::kWin1251) {
    std::string bytes;
    // Bytes that happen to be valid UTF-8 ("\xC2\xB8" is "Вё") would be read back as UTF-8,
    // as other letters: such a text is written in UTF-8 too.
    if (Utf8ToWin1251(utf8, bytes) && (IsAscii(bytes) || !IsValidUtf8(bytes))) return bytes;
    encoding = TextEncoding::kUtf8;
  }
  return std::string(utf8);
}

char32_t NextCodePoint(std::string_view text, size_t& at) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data()) + at;
  const size_t left = text.size() - at;
  const unsigned char lead = p[0];
  if (lead < 0x80) {
    ++at;
    return lead;
  }
  unsigned char low = 0, high = 0;
  const int length = SequenceLength(lead, low, high);
  bool whole = length > 0 && left >= static_cast<size_t>(length) && p[1] >= low && p[1] <= high;
  for (int k = 2; whole && k < length; ++k)
    whole = p[k] >= 0x80 && p[k] <= 0xBF;
  if (!whole) {
    ++at;
    return kInvalidCodePoint;
  }
  char32_t code_point = lead & (0x7F >> length);
  for (int k = 1; k < length; ++k)
    code_point = (code_point << 6) | (p[k] & 0x3F);
  at += static_cast<size_t>(length);
  return code_point;
}

void AppendUtf8(std::string& text, char32_t code_point) {
  if (code_point < 0x80) {
    text += static_cast<char>(code_point);
  } else if (code_point < 0x800) {
    text += static_cast<char>(0xC0 | (code_point >> 6));
    text += static_cast<char>(0x80 | (code_point & 0x3F));
  } else if (code_point < 0x10000) {
    text += static_cast<char>(0xE0 | (code_point >> 12));
    text += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (code_point & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | (code_point >> 18));
    text += static_cast<char>(0x80 | ((code_point >> 12) & 0x3F));
    text += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (code_point & 0x3F));
  }
}

size_t CodePointCount(std::string_view text) {
  size_t count = 0;
  size_t at = 0;
  while (at < text.size()) {
    if (static_cast<unsigned char>(text[at]) < 0x80) {
      ++at;
    } else {
      (void)NextCodePoint(text, at);
    }
    ++count;
  }
  return count;
}

}  // namespace pagelathe
