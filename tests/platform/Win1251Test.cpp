// The code page's case pairs, the sort order of lists, and the round trip through Unicode.
#include "platform/Win1251.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace pagelathe {
namespace {

TEST(Win1251, EveryCasePairAndNothingElse) {
  // upper, lower
  const std::vector<std::pair<int, int>> pairs = {
      {0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D},
      {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2}, {0xA3, 0xBC}, {0xA5, 0xB4},
      {0xA8, 0xB8}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE}};
  std::vector<int> upper_of(256), lower_of(256);
  for (int i = 0; i < 256; ++i)
    upper_of[i] = lower_of[i] = i;
  for (int i = 0; i < 26; ++i)
    upper_of['a' + i] = 'A' + i, lower_of['A' + i] = 'a' + i;
  for (int i = 0; i < 32; ++i)
    upper_of[0xE0 + i] = 0xC0 + i, lower_of[0xC0 + i] = 0xE0 + i;
  for (auto [u, l] : pairs)
    upper_of[l] = u, lower_of[u] = l;
  for (int i = 0; i < 256; ++i) {
    const char c = static_cast<char>(i);
    EXPECT_EQ(static_cast<unsigned char>(UpperChar(c)), upper_of[i]) << "byte " << i;
    EXPECT_EQ(static_cast<unsigned char>(LowerChar(c)), lower_of[i]) << "byte " << i;
  }
  EXPECT_EQ(UpperChar('\xB5'), '\xB5');  // micro sign has no pair
}

TEST(Win1251, WholeTexts) {
  // "Привет, World ёЁ" in Windows-1251
  const std::string text = "\xCF\xF0\xE8\xE2\xE5\xF2, World \xB8\xA8";
  EXPECT_EQ(UpperCase(text), "\xCF\xD0\xC8\xC2\xC5\xD2, WORLD \xA8\xA8");
  EXPECT_EQ(LowerCase(text), "\xEF\xF0\xE8\xE2\xE5\xF2, world \xB8\xB8");
  EXPECT_EQ(UpperCase(std::string("a\0b", 3)), std::string("A\0B", 3));
  EXPECT_TRUE(SameText("\xA8\xC6", "\xB8\xE6"));
  EXPECT_FALSE(SameText("ab", "abc"));
}

TEST(Win1251, SortOrderOfLists) {
  struct Case {
    std::string a, b;
    int sign;
  };
  const std::vector<Case> cases = {
      {"Apple", "apple", 0}, {"a", "ab", -1},
      {"", "a", -1},         {"9", "a", -1},  // digits before letters
      {"-", "0", -1},                         // punctuation before digits
      {"z", "\xE0", -1},                      // Latin before Cyrillic
      {"\xE5", "\xB8", -1},                   // е before ё
      {"\xB8", "\xE6", -1},                   // ё before ж
      {"\xA8", "\xE6", -1},                   // Ё too
      {"\xC0", "\xE0", 0},                    // А and а
      {"\xA0", "0", -1},                      // no-break space is not a letter
      {"\xFF", "\xE0", 1},                    // я after а
      {"B", "a", 1},
  };
  for (const auto& c : cases) {
    const int r = CompareText(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " vs " << c.b;
    const int back = CompareText(c.b, c.a);
    EXPECT_EQ((back > 0) - (back < 0), -c.sign) << c.b << " vs " << c.a;
  }
}

TEST(Win1251, StableSortKeepsEqualTextsInOrder) {
  std::vector<std::string> list = {"beta", "Apple", "alpha", "apple", "APPLE", "Beta"};
  std::stable_sort(list.begin(), list.end(), TextLess{});
  EXPECT_EQ(list, (std::vector<std::string>{"alpha", "Apple", "apple", "APPLE", "beta", "Beta"}));
}

TEST(Win1251, EveryByteRoundTripsThroughUnicode) {
  for (int i = 0; i < 256; ++i) {
    const char32_t cp = CodePointOf1251(static_cast<unsigned char>(i));
    EXPECT_EQ(ByteOfCodePoint1251(cp), i);
  }
  EXPECT_EQ(CodePointOf1251(0xC0), U'\u0410');
  EXPECT_EQ(CodePointOf1251(0xB9), U'\u2116');
  EXPECT_EQ(CodePointOf1251(0x88), U'\u20AC');
  EXPECT_EQ(ByteOfCodePoint1251(U'\u4E2D'), -1);
}

}  // namespace
}  // namespace pagelathe
