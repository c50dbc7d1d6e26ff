// The code page table, and the conversions through it at the edge of the program.
#include "platform/Win1251.h"

#include <gtest/gtest.h>

namespace pagelathe {
namespace {

TEST(Win1251, EveryByteRoundTripsThroughUnicode) {
  std::string all;
  for (int i = 0; i < 256; ++i) {
    const char32_t cp = CodePointOf1251(static_cast<unsigned char>(i));
    EXPECT_EQ(ByteOfCodePoint1251(cp), i);
    all += static_cast<char>(i);
  }
  std::string back;
  ASSERT_TRUE(Utf8ToWin1251(Win1251ToUtf8(all), back));
  EXPECT_EQ(back, all);
  EXPECT_EQ(CodePointOf1251(0xC0), U'\u0410');
  EXPECT_EQ(CodePointOf1251(0xB9), U'\u2116');
  EXPECT_EQ(CodePointOf1251(0x88), U'\u20AC');
  EXPECT_EQ(CodePointOf1251(0x98), U'\u0098');
  EXPECT_EQ(ByteOfCodePoint1251(U'\u4E2D'), -1);
  EXPECT_EQ(ByteOfCodePoint1251(U'\U0001F600'), -1);
}

TEST(Win1251, TextsThatFitAndTextsThatDoNot) {
  struct Case {
    std::string utf8;
    bool fits;
    std::string bytes;
  };
  const Case cases[] = {
      {"Привет, мир", true, "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0"},
      {"Ёё Її Ґґ №", true, "\xA8\xB8 \xAF\xBF \xA5\xB4 \xB9"},
      {"5 € — «ok»", true, "5 \x88 \x97 \xABok\xBB"},
      {"", true, ""},
      {"Größe", false, ""},  // "ö" has no byte
      {"日本", false, ""},
      {"😀", false, ""},
      {"a\xFF", false, ""},  // not UTF-8 at all
  };
  for (const Case& c : cases) {
    std::string bytes;
    EXPECT_EQ(Utf8ToWin1251(c.utf8, bytes), c.fits) << c.utf8;
    EXPECT_EQ(FitsWin1251(c.utf8), c.fits) << c.utf8;
    if (c.fits) {
      EXPECT_EQ(bytes, c.bytes) << c.utf8;
    }
    if (c.fits) {
      EXPECT_EQ(Win1251ToUtf8(c.bytes), c.utf8);
    }
  }
}

}  // namespace
}  // namespace pagelathe
