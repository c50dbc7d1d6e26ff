// UTF-8 detection and conversion to and from Windows-1251, one linear pass each.
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

char ByteFor(char32_t code_point) {
  if (code_point >= 0x0410 && code_point <= 0x044F)
    return static_cast<char>(0xC0 + (code_point - 0x0410));
  const int byte = ByteOfCodePoint1251(code_point);
  return byte < 0 ? '?' : static_cast<char>(byte);
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

bool IsUtf8Document(std::string_view bytes) {
  Utf8Validator validator;
  validator.Feed(bytes);
  return validator.IsUtf8Document();
}

std::string Utf8To1251(std::string_view utf8) {
  std::string text;
  text.reserve(utf8.size());
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const unsigned char* const end = p + utf8.size();
  while (p < end) {
    const unsigned char lead = *p;
    if (lead < 0x80) {
      text += static_cast<char>(lead);
      ++p;
      continue;
    }
    unsigned char low = 0, high = 0;
    const int length = SequenceLength(lead, low, high);
    bool whole = length > 0 && end - p >= length && p[1] >= low && p[1] <= high;
    for (int k = 2; whole && k < length; ++k)
      whole = p[k] >= 0x80 && p[k] <= 0xBF;
    if (!whole) {
      text += '?';
      ++p;
      continue;
    }
    char32_t code_point = lead & (0x7F >> length);
    for (int k = 1; k < length; ++k)
      code_point = (code_point << 6) | (p[k] & 0x3F);
    text += ByteFor(code_point);
    p += length;
  }
  return text;
}

std::string Win1251ToUtf8(std::string_view text) {
  std::string utf8;
  utf8.reserve(text.size() + text.size() / 2);
  for (const char c : text) {
    const char32_t code_point = CodePointOf1251(static_cast<unsigned char>(c));
    if (code_point < 0x80) {
      utf8 += static_cast<char>(code_point);
    } else if (code_point < 0x800) {
      utf8 += static_cast<char>(0xC0 | (code_point >> 6));
      utf8 += static_cast<char>(0x80 | (code_point & 0x3F));
    } else {
      utf8 += static_cast<char>(0xE0 | (code_point >> 12));
      utf8 += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (code_point & 0x3F));
    }
  }
  return utf8;
}

std::string DocumentTo1251(std::string bytes) {
  if (!IsUtf8Document(bytes)) return bytes;
  return Utf8To1251(bytes);
}

}  // namespace pagelathe
