// The letter rules: lengths, case folding, NFC and the one case-insensitive order of lists.
#include "platform/Letters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/Win1251.h"

namespace pagelathe {
namespace {

const std::string kCafeComposed = "caf\u00E9";
const std::string kCafeDecomposed = "cafe\u0301";

TEST(Letters, LengthsCountCharactersAfterNfc) {
  struct Case {
    std::string text;
    size_t length;
  };
  const Case cases[] = {{"", 0},
                        {"word", 4},
                        {"日本語", 3},
                        {"Größe", 5},
                        {kCafeDecomposed, 4},
                        {"\xED\x95\x9C", 1},         // 한
                        {"\u1112\u1161\u11AB", 1}};  // 한 in jamo, composed by NFC
  for (const Case& c : cases)
    EXPECT_EQ(CharLength(c.text), c.length) << c.text;
  EXPECT_EQ(Nfc(kCafeDecomposed), kCafeComposed);
  EXPECT_TRUE(IsNfc(kCafeComposed));
  EXPECT_FALSE(IsNfc(kCafeDecomposed));
  EXPECT_EQ(Characters("Ä日本ё"), (std::vector<std::string>{"Ä", "日", "本", "ё"}));
  EXPECT_EQ(Characters("A\u0308x"), (std::vector<std::string>{"Ä", "x"}));
}

TEST(Letters, SimpleCaseFolding) {
  struct Case {
    std::string a, b;
    bool same;
  };
  const Case cases[] = {
      {"ΟΔΟΣ", "οδος", true},
      {"Οδος", "οδοσ", true},
      {"Straße", "STRASSE", false},
      {"Straße", "STRAßE", true},
      {"İstanbul", "istanbul", false},  // İ stays itself
      {"Ёлка", "ёЛКА", true},
      {kCafeComposed, kCafeDecomposed, true},
      {"CAFÉ", kCafeDecomposed, true},
      {"Apple", "apple", true},
      {"ab", "abc", false},
      {"K", "k", true},  // the Kelvin sign folds to "k"
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SameText(c.a, c.b), c.same) << c.a << " / " << c.b;
    EXPECT_EQ(FoldCase(c.a) == FoldCase(c.b), c.same) << c.a << " / " << c.b;
  }
  EXPECT_EQ(FoldCase("ΟΔΟΣ"), "οδοσ");
  EXPECT_EQ(UpperCase("straße ёж"), "STRAßE ЁЖ");
  EXPECT_EQ(LowerCase("ÄÖÜ Ёж"), "äöü ёж");
  EXPECT_EQ(AsciiLowerCase("HTTP Ё"), "http Ё");
}

// On the Windows-1251 repertoire the fold is exactly the code page's upper/lower pairs.
TEST(Letters, FoldingOnTheCodePageIsItsCasePairs) {
  std::vector<int> lower_of(256);
  for (int i = 0; i < 256; ++i)
    lower_of[i] = i;
  for (int i = 0; i < 26; ++i)
    lower_of['A' + i] = 'a' + i;
  for (int i = 0; i < 32; ++i)
    lower_of[0xC0 + i] = 0xE0 + i;
  const std::pair<int, int> pairs[] = {{0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C},
                                       {0x8D, 0x9D}, {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2},
                                       {0xA3, 0xBC}, {0xA5, 0xB4}, {0xA8, 0xB8}, {0xAA, 0xBA},
                                       {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE}};
  for (auto [upper, lower] : pairs)
    lower_of[upper] = lower;
  for (int a = 0; a < 256; ++a) {
    const std::string text_a = Win1251ToUtf8(std::string(1, static_cast<char>(a)));
    for (int b = a + 1; b < 256; ++b) {
      const std::string text_b = Win1251ToUtf8(std::string(1, static_cast<char>(b)));
      EXPECT_EQ(SameText(text_a, text_b), lower_of[a] == lower_of[b]) << a << " " << b;
    }
  }
}

TEST(Letters, TheOrderOfSortedLists) {
  struct Case {
    std::string a, b;
    int sign;
  };
  const Case cases[] = {
      {"Apple", "apple", 0},
      {"a", "ab", -1},
      {"", "a", -1},
      {"9", "a", -1},
      {"-", "0", -1},
      {"z", "а", -1},
      {"е", "ё", -1},
      {"ё", "ж", -1},
      {"Ё", "ж", -1},
      {"А", "а", 0},
      {"\u00A0", "0", -1},  // no-break space
      {"я", "а", 1},
      {"B", "a", 1},
      {"a", "ä", -1},
      {"ä", "Ä2", -1},
      {"äz", "b", -1},
      {"z", "α", -1},
      {"ω", "а", -1},
      {"я", "日", -1},
      {"й", "к", -1},
      {"и", "й", -1},
      {"€", "0", -1},
      {"٣", "4", -1},  // Arabic 3
      {"3", "٣", -1},
      {kCafeComposed, kCafeDecomposed, 0},
      {"cafe", kCafeDecomposed, -1},
      {"cafez", kCafeDecomposed, -1},
      {"i", "İ", -1},  // a base letter that folding would change: right after "i"
      {"İ", "j", -1},
  };
  for (const Case& c : cases) {
    const int r = CompareText(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " vs " << c.b;
    const int back = CompareText(c.b, c.a);
    EXPECT_EQ((back > 0) - (back < 0), -c.sign) << c.b << " vs " << c.a;
    const int keys = SortKey(c.a).compare(SortKey(c.b));
    EXPECT_EQ((keys > 0) - (keys < 0), c.sign) << c.a << " vs " << c.b << " by key";
  }
}

TEST(Letters, StableSortsKeepEqualTextsInOrder) {
  std::vector<std::string> list = {"http://ж.example/",
                                   "http://е.example/",
                                   "http://Ё.example/",
                                   "http://z.example/",
                                   "http://a.example/",
                                   "http://Ä2.example/",
                                   "http://ä.example/",
                                   "http://b.example/",
                                   "beta",
                                   "Apple",
                                   "apple",
                                   "APPLE"};
  SortTexts(list);
  EXPECT_EQ(list, (std::vector<std::string>{
                      "Apple", "apple", "APPLE", "beta", "http://a.example/", "http://ä.example/",
                      "http://Ä2.example/", "http://b.example/", "http://z.example/",
                      "http://е.example/", "http://Ё.example/", "http://ж.example/"}));
  // Bytes of documents sort as they are shown, and keep their bytes.
  std::vector<std::string> bytes = {"\xE6", "б", "\xE0"};  // ж, а in Windows-1251
  SortShownBytes(bytes);
  EXPECT_EQ(bytes, (std::vector<std::string>{"\xE0", "б", "\xE6"}));
}

}  // namespace
}  // namespace pagelathe
