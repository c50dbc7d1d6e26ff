// The Windows-1251 code page: the one legacy encoding the program reads (a file that is not
// valid UTF-8) and writes (a page or profile whose every character has a byte in it). Inside
// the program every text is UTF-8; this is the table at the edge and nothing more.
#pragma once

#include <string>
#include <string_view>

namespace pagelathe {

// Unicode code point of a Windows-1251 byte (0x98 maps to U+0098 so that it round-trips).
[[nodiscard]] char32_t CodePointOf1251(unsigned char byte);

// The byte for a code point, or -1 when the code page has none.
[[nodiscard]] int ByteOfCodePoint1251(char32_t code_point);

// Windows-1251 bytes to UTF-8; every byte has a character, so nothing is lost and
// Win1251ToUtf8 followed by Utf8ToWin1251 gives the bytes back.
// Example: "\xCF\xF0\xE8" gives "При".
[[nodiscard]] std::string Win1251ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1251 into `bytes`, when every character of `utf8` has a byte: true. False
// (and `bytes` unspecified) when one has none or `utf8` is not valid UTF-8.
// Example: "Ёж №5 €" gives "\xA8\xE6 \xB9" "5 \x88"; "日本" gives false.
[[nodiscard]] bool Utf8ToWin1251(std::string_view utf8, std::string& bytes);

// True when every character of `utf8` has a Windows-1251 byte (Utf8ToWin1251 would succeed).
[[nodiscard]] bool FitsWin1251(std::string_view utf8);

}  // namespace pagelathe
