// The rule at the edge (valid UTF-8 is UTF-8, anything else Windows-1251) and the steps
// through code points.
#include "platform/Utf8.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/Win1251.h"

namespace pagelathe {
namespace {

TEST(Utf8, TheDocumentRule) {
  struct Case {
    std::string bytes;
    bool utf8;
  };
  const Case cases[] = {
      {"", true},
      {"plain ASCII only, http://a.b/", true},
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
    EXPECT_EQ(IsValidUtf8(c.bytes), c.utf8) << c.bytes;
    // Fed a byte at a time, every sequence is cut between two pieces: same verdict.
    Utf8Validator validator;
    for (const char byte : c.bytes)
      validator.Feed(std::string_view(&byte, 1));
    EXPECT_EQ(validator.Complete(), c.utf8) << c.bytes;
    // The file's text: as it is, or decoded from the code page.
    std::string legacy;
    for (const char byte : c.bytes)
      AppendUtf8(legacy, CodePointOf1251(static_cast<unsigned char>(byte)));
    EXPECT_EQ(DecodeText(c.bytes), c.utf8 ? c.bytes : legacy) << c.bytes;
  }
}

TEST(Utf8, CodePointsAndEncodings) {
  struct Case {
    std::string text;
    size_t count;
  };
  const Case cases[] = {{"", 0}, {"abc", 3}, {"日本語", 3}, {"Ёж😀", 3}, {"a\xFF\xD0", 3}};
  for (const Case& c : cases) {
    EXPECT_EQ(CodePointCount(c.text), c.count) << c.text;
    std::string again;
    for (size_t at = 0; at < c.text.size();) {
      const char32_t cp = NextCodePoint(c.text, at);
      if (cp != kInvalidCodePoint) AppendUtf8(again, cp);
    }
    if (IsValidUtf8(c.text)) {
      EXPECT_EQ(again, c.text);
    }
  }
  // Written back in the encoding a file was read in, as long as nothing would be lost.
  TextEncoding encoding = TextEncoding::kWin1251;
  EXPECT_EQ(EncodeText("Ёж", encoding), "\xA8\xE6");
  EXPECT_EQ(encoding, TextEncoding::kWin1251);
  EXPECT_EQ(EncodeText("Ёж ö", encoding), "Ёж ö");
  EXPECT_EQ(encoding, TextEncoding::kUtf8);
  encoding = TextEncoding::kWin1251;  // "\xC2\xB8" would read back as UTF-8 "¸"
  EXPECT_EQ(EncodeText("Вё", encoding), "Вё");
  EXPECT_EQ(encoding, TextEncoding::kUtf8);
  EXPECT_EQ(EncodingOf("\xA8\xE6"), TextEncoding::kWin1251);
  EXPECT_EQ(EncodingOf("plain"), TextEncoding::kUtf8);
}

TEST(Utf8, NamesAreShownPartByPart) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"/Проекты/Größe/", "/Проекты/Größe/"},
      {"/Проекты/\xCF\xF0\xE8.txt", "/Проекты/При.txt"},  // a Windows-1251 name in a UTF-8 folder
      {"\xCF\xF0\xE8/", "При/"},
      {"Cannot open \"/x/\xFF\".", "Cannot open \"/x/я\"."},
  };
  for (const auto& [bytes, shown] : cases)
    EXPECT_EQ(ShownName(bytes), shown) << bytes;
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
    EXPECT_EQ(pieces.Complete(), IsValidUtf8(text)) << text;
    if (round % 2 == 0) {
      EXPECT_TRUE(IsValidUtf8(text)) << text;  // valid parts only
    }
  }
}

}  // namespace
}  // namespace pagelathe
