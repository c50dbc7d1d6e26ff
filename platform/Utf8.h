// UTF-8 documents. The program's texts are Windows-1251, but most files on Linux are UTF-8.
// One rule decides: a document whose bytes are valid UTF-8 and hold at least one multi-byte
// sequence is UTF-8; every other document (plain ASCII included, which reads the same either
// way) is Windows-1251. Tools that work on letters convert a UTF-8 document on reading; tools
// that pass bytes through keep them and only display through the same rule.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pagelathe {

// Checks bytes for the rule above piece by piece, so a document can be judged while it is
// read (a sequence may be cut between two pieces). Strict UTF-8: no overlong forms, no
// surrogates, nothing above U+10FFFF.
class Utf8Validator {
 public:
  void Feed(std::string_view bytes);
  // True while every byte fed so far can begin a valid UTF-8 text.
  [[nodiscard]] bool Valid() const { return valid_; }
  // Valid, with no sequence left open, and at least one multi-byte sequence seen.
  [[nodiscard]] bool IsUtf8Document() const { return valid_ && needed_ == 0 && multi_byte_; }

 private:
  bool valid_ = true;
  bool multi_byte_ = false;
  int needed_ = 0;            // continuation bytes still to come
  unsigned char low_ = 0x80;  // the allowed range of the next continuation byte
  unsigned char high_ = 0xBF;
};

// The rule above, for a whole document or one line of one.
// Examples: "Привет" in UTF-8 is UTF-8; "abc" is not; "\xCF\xF0\xE8" (Windows-1251) is not.
[[nodiscard]] bool IsUtf8Document(std::string_view bytes);

// UTF-8 to Windows-1251: a character outside the code page becomes "?", and so does each byte
// that is not part of a valid sequence. "Привет, €" gives "\xCF\xF0\xE8\xE2\xE5\xF2, \x88".
[[nodiscard]] std::string Utf8To1251(std::string_view utf8);

// Windows-1251 to UTF-8 (every byte has a character, 0x98 giving U+0098).
[[nodiscard]] std::string Win1251ToUtf8(std::string_view text);

// The text of a document for a tool that works on letters: a UTF-8 document converted to
// Windows-1251, any other returned as it is.
[[nodiscard]] std::string DocumentTo1251(std::string bytes);

}  // namespace pagelathe
