// UTF-8, the code of every text the program holds, and the one rule at the edge: a file whose
// bytes are valid UTF-8 is UTF-8 (plain ASCII reads the same either way); any other file is
// Windows-1251 and is decoded once, when it is read (DecodeText). Tools that pass bytes through
// (the links search, the converter) keep a document's bytes and decode only what they show.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pagelathe {

// Checks bytes for valid UTF-8 piece by piece, so a document can be judged while it is read
// (a sequence may be cut between two pieces). Strict UTF-8: no overlong forms, no surrogates,
// nothing above U+10FFFF.
class Utf8Validator {
 public:
  void Feed(std::string_view bytes);
  // True while every byte fed so far can begin a valid UTF-8 text.
  [[nodiscard]] bool Valid() const { return valid_; }
  // Valid, with no sequence left open: the bytes are a UTF-8 text.
  [[nodiscard]] bool Complete() const { return valid_ && needed_ == 0; }
  // Whether a byte above 0x7F was seen (else the bytes are ASCII and read the same in both).
  [[nodiscard]] bool SawMultiByte() const { return multi_byte_; }

 private:
  bool valid_ = true;
  bool multi_byte_ = false;
  int needed_ = 0;            // continuation bytes still to come
  unsigned char low_ = 0x80;  // the allowed range of the next continuation byte
  unsigned char high_ = 0xBF;
};

// True when `bytes` are valid UTF-8 (the empty text and plain ASCII are).
[[nodiscard]] bool IsValidUtf8(std::string_view bytes);

// True when every byte is below 0x80. Eight bytes at a time.
[[nodiscard]] bool IsAscii(std::string_view bytes);

// The text of a file's bytes, by the rule above: valid UTF-8 as it is, anything else decoded
// from Windows-1251. Examples: "Привет" in UTF-8 stays; "\xCF\xF0\xE8" gives "При".
[[nodiscard]] std::string DecodeText(std::string bytes);

// A file name or path as it is shown: each part between two "/" decoded by the rule above on
// its own, so that a Windows-1251 name inside a UTF-8 folder reads as both were written.
// Messages that name files are shown so too. The bytes of the name itself never change.
// Example: "/Проекты/\xCF\xF0\xE8.txt" gives "/Проекты/При.txt".
[[nodiscard]] std::string ShownName(std::string_view bytes);

// The two encodings a file of the program is in.
enum class TextEncoding { kUtf8, kWin1251 };

// The rule's verdict on a file's bytes.
[[nodiscard]] inline TextEncoding EncodingOf(std::string_view bytes) {
  return IsValidUtf8(bytes) ? TextEncoding::kUtf8 : TextEncoding::kWin1251;
}

// A text for a file in `encoding`: as it is for UTF-8; for Windows-1251 encoded when every
// character has a byte, else the UTF-8 text itself and `encoding` set to UTF-8, so that nothing
// is lost ("a Windows-1251 file that must take a character it has no byte for is rewritten in
// UTF-8"). Windows-1251 bytes that would read as UTF-8 (the rule above) are written in UTF-8 too,
// so that the file reads back as the text it was given.
[[nodiscard]] std::string EncodeText(std::string_view utf8, TextEncoding& encoding);

// What NextCodePoint gives for a byte that begins no valid sequence (the byte is passed over).
inline constexpr char32_t kInvalidCodePoint = 0xFFFFFFFF;

// The code point that starts at `at`, and `at` moved past it; a byte that is not the start of
// a valid sequence gives kInvalidCodePoint and moves `at` by one. `at` must be in the text.
[[nodiscard]] char32_t NextCodePoint(std::string_view text, size_t& at);

// True when `text` is valid UTF-8 and `keep` holds for each of its characters outside ASCII.
template <typename Keep>
[[nodiscard]] bool EveryNonAsciiCharacter(std::string_view text, const Keep& keep) {
  size_t at = 0;
  while (at < text.size()) {
    if (static_cast<unsigned char>(text[at]) < 0x80) {
      ++at;
      continue;
    }
    const char32_t code_point = NextCodePoint(text, at);
    if (code_point == kInvalidCodePoint || !keep(code_point)) return false;
  }
  return true;
}

// Appends the UTF-8 bytes of `code_point` (at most U+10FFFF).
void AppendUtf8(std::string& text, char32_t code_point);

// The number of code points (a byte of no valid sequence counts as one).
[[nodiscard]] size_t CodePointCount(std::string_view text);

}  // namespace pagelathe
