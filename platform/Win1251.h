// Windows-1251 texts: letter case, the case-insensitive order of sorted lists, and the code
// point table that the GUI boundary uses. Never goes through the C locale.
#pragma once

#include <string>
#include <string_view>

namespace pagelathe {

// Upper and lower case of one byte, Latin and Cyrillic (Ё/ё, Ђ/ђ ... included); every other
// byte is returned unchanged ("µ" 0xB5 too).
[[nodiscard]] char UpperChar(char c);
[[nodiscard]] char LowerChar(char c);

// Whole texts, byte by byte: UpperCase("Привет, World") == "ПРИВЕТ, WORLD" (in Windows-1251).
[[nodiscard]] std::string UpperCase(std::string_view text);
[[nodiscard]] std::string LowerCase(std::string_view text);

// True when `c` is a Latin or Cyrillic letter of the code page.
[[nodiscard]] bool IsLetter1251(char c);

// Sort weight of one byte after folding to lower case: first every byte that is neither digit
// nor letter (in byte order), then 0-9, then a-z, then the Cyrillic letters in code point
// order with ё right after е.
[[nodiscard]] int SortWeight(char c);

// Case-insensitive comparison by sort weights: negative, zero or positive. A text that is
// the start of the other comes first. "Apple" and "apple" compare equal.
[[nodiscard]] int CompareText(std::string_view a, std::string_view b);

// Case-insensitive equality (folding only, no weights): SameText("ЁЖ", "ёж") is true.
[[nodiscard]] bool SameText(std::string_view a, std::string_view b);

// Strict "less" for stable sorts of texts without regard to letter case.
struct TextLess {
  bool operator()(std::string_view a, std::string_view b) const { return CompareText(a, b) < 0; }
};

// Unicode code point of a Windows-1251 byte (0x98 maps to U+0098 so that it round-trips).
[[nodiscard]] char32_t CodePointOf1251(unsigned char byte);

// The byte for a code point, or -1 when the code page has none.
[[nodiscard]] int ByteOfCodePoint1251(char32_t code_point);

}  // namespace pagelathe
