// The UTF-8 rule (valid and at least one multi-byte sequence) and the conversions.
#include "platform/Utf8.h"

#include <gtest/gtest.h>

#include <random>

namespace pagelathe {
namespace {

TEST(Utf8, TheDocumentRule) {
  struct Case {
    std::string bytes;
    bool utf8;
  };
  const Case cases[] = {
      {"", false},
      {"plain ASCII only, http://a.b/", false},
      {"Привет, мир", true},
      {"\xCF\xF0\xE8\xE2\xE5\xF2", false},  // "Привет" in Windows-1251
      {"a\xC2\xA0"
       "b",
       true},                       // one no-break space
      {"\xF0\x9F\x98\x80", true},   // outside the basic plane
      {"\xC0\x80", false},          // overlong NUL
      {"\xE0\x80\xAF", false},      // overlong "/"
      {"\xED\xA0\x80", false},      // a surrogate
      {"\xF4\x90\x80\x80", false},  // above U+10FFFF
      {"\xF5\x80\x80\x80", false},
      {"ok \xD0", false},  // cut at the end
      {"\xD0\x9F\xD0", false},
      {"\x80", false},  // a lone continuation byte
      {std::string("\xD0\x9F\0z", 4), true},
      {"ascii for more than eight bytes then \xD0\xAF", true},
      {"\xD0\xAF then ascii for more than eight bytes then \xFF", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsUtf8Document(c.bytes), c.utf8) << c.bytes;
    // Fed a byte at a time, every sequence is cut between two pieces: same verdict.
    Utf8Validator validator;
    for (const char byte : c.bytes)
      validator.Feed(std::string_view(&byte, 1));
    EXPECT_EQ(validator.IsUtf8Document(), c.utf8) << c.bytes;
  }
}

TEST(Utf8, ToWindows1251) {
  struct Case {
    std::string utf8;
    std::string text;
  };
  const Case cases[] = {
      {"Привет, мир", "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0"},
      {"Ёё Її Ґґ №", "\xA8\xB8 \xAF\xBF \xA5\xB4 \xB9"},
      {"5 € — «ok»", "5 \x88 \x97 \xABok\xBB"},
      {"日本 😀", "?? ?"},  // outside the code page
      {"a\xFF"
       "b\xD0",
       "a?b?"},  // bytes of no valid sequence
      {"\xC0\x80", "??"},
      {"", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Utf8To1251(c.utf8), c.text) << c.utf8;
}

TEST(Utf8, EveryWindows1251ByteRoundTrips) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte)
    all += static_cast<char>(byte);
  const std::string utf8 = Win1251ToUtf8(all);
  EXPECT_TRUE(IsUtf8Document(utf8));
  EXPECT_EQ(Utf8To1251(utf8), all);
  EXPECT_EQ(Win1251ToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2"), "Привет");
}

TEST(Utf8, DocumentsForTheLetterTools) {
  EXPECT_EQ(DocumentTo1251("Привет привет"), "\xCF\xF0\xE8\xE2\xE5\xF2 \xEF\xF0\xE8\xE2\xE5\xF2");
  EXPECT_EQ(DocumentTo1251("\xCF\xF0\xE8"), "\xCF\xF0\xE8");  // Windows-1251 stays as it was
  EXPECT_EQ(DocumentTo1251("plain"), "plain");
}

// Random texts of valid sequences and stray bytes: the piecewise verdict always equals the
// whole one, wherever the pieces are cut.
TEST(Utf8, PiecesNeverChangeTheVerdict) {
  std::mt19937 random(7);
  const std::string parts[] = {"a",    "bc",   "\xD0\x9F", "\xE2\x82\xAC", "\xF0\x9F\x98\x80",
                               "\xFF", "\xC3", "\x80",     "\xED\xA0",     "text "};
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    const int count = static_cast<int>(random() % 30);
    for (int i = 0; i < count; ++i)
      text += parts[random() % (round % 2 ? 10 : 5)];  // half of them valid throughout
    Utf8Validator pieces;
    for (size_t at = 0; at < text.size();) {
      const size_t length = 1 + random() % 5;
      pieces.Feed(std::string_view(text).substr(at, length));
      at += length;
    }
    EXPECT_EQ(pieces.IsUtf8Document(), IsUtf8Document(text)) << text;
    if (round % 2 == 0) {  // valid throughout: UTF-8 exactly when a multi-byte part is in it
      EXPECT_EQ(IsUtf8Document(text), text.find_first_of("\xD0\xE2\xF0") != std::string::npos);
    }
  }
}

}  // namespace
}  // namespace pagelathe
