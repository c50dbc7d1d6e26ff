// The code page table and the two conversions through it, one linear pass each.
#include "platform/Win1251.h"

#include <algorithm>
#include <array>

#include "platform/Utf8.h"

namespace pagelathe {
namespace {

constexpr std::array<char16_t, 64> kHighTable = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

// The bytes 0x80-0xBF by code point, for writing: a short sorted search is all it takes.
struct HighBytes {
  std::array<std::pair<char16_t, unsigned char>, 64> sorted{};
  HighBytes() {
    for (size_t i = 0; i < kHighTable.size(); ++i)
      sorted[i] = {kHighTable[i], static_cast<unsigned char>(0x80 + i)};
    std::sort(sorted.begin(), sorted.end());
  }
};

}  // namespace

char32_t CodePointOf1251(unsigned char byte) {
  if (byte < 0x80) return byte;
  if (byte >= 0xC0) return 0x0410 + (byte - 0xC0);
  return kHighTable[byte - 0x80];
}

int ByteOfCodePoint1251(char32_t code_point) {
  if (code_point < 0x80) return static_cast<int>(code_point);
  if (code_point >= 0x0410 && code_point <= 0x044F)
    return static_cast<int>(0xC0 + (code_point - 0x0410));
  static const HighBytes high;
  const auto it =
      std::lower_bound(high.sorted.begin(), high.sorted.end(),
                       std::pair<char16_t, unsigned char>{
                           static_cast<char16_t>(code_point > 0xFFFF ? 0xFFFF : code_point), 0});
  if (code_point > 0xFFFF || it == high.sorted.end() || it->first != code_point) return -1;
  return it->second;
}

std::string Win1251ToUtf8(std::string_view bytes) {
  std::string utf8;
  utf8.reserve(bytes.size() + bytes.size() / 2);
  for (const char c : bytes)
    AppendUtf8(utf8, CodePointOf1251(static_cast<unsigned char>(c)));
  return utf8;
}

bool Utf8ToWin1251(std::string_view utf8, std::string& bytes) {
  bytes.clear();
  bytes.reserve(utf8.size());
  size_t at = 0;
  while (at < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[at]);
    if (lead < 0x80) {
      bytes += static_cast<char>(lead);
      ++at;
      continue;
    }
    const char32_t code_point = NextCodePoint(utf8, at);
    const int byte = code_point == kInvalidCodePoint ? -1 : ByteOfCodePoint1251(code_point);
    if (byte < 0) return false;
    bytes += static_cast<char>(byte);
  }
  return true;
}

bool FitsWin1251(std::string_view utf8) {
  return EveryNonAsciiCharacter(utf8, [](char32_t c) { return ByteOfCodePoint1251(c) >= 0; });
}

}  // namespace pagelathe
