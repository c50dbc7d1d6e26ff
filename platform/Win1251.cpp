// Tables of the Windows-1251 code page, built once at start-up.
#include "platform/Win1251.h"

#include <algorithm>
#include <array>
#include <unordered_map>

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

// Upper/lower pairs outside the two regular ranges.
constexpr std::array<std::array<unsigned char, 2>, 15> kExtraPairs = {{
    {0x80, 0x90},
    {0x81, 0x83},
    {0x8A, 0x9A},
    {0x8C, 0x9C},
    {0x8D, 0x9D},
    {0x8E, 0x9E},
    {0x8F, 0x9F},
    {0xA1, 0xA2},
    {0xA3, 0xBC},
    {0xA5, 0xB4},
    {0xA8, 0xB8},
    {0xAA, 0xBA},
    {0xAF, 0xBF},
    {0xB2, 0xB3},
    {0xBD, 0xBE},
}};

struct Tables {
  std::array<unsigned char, 256> upper{};
  std::array<unsigned char, 256> lower{};
  std::array<bool, 256> letter{};
  std::array<int, 256> weight{};  // of the byte itself; callers fold first
  std::unordered_map<char32_t, unsigned char> byte_of;

  Tables() {
    for (int i = 0; i < 256; ++i)
      upper[i] = lower[i] = static_cast<unsigned char>(i);
    auto pair = [&](int up, int low) {
      lower[up] = static_cast<unsigned char>(low);
      upper[low] = static_cast<unsigned char>(up);
      letter[up] = letter[low] = true;
    };
    for (int i = 0; i < 26; ++i)
      pair('A' + i, 'a' + i);
    for (int i = 0; i < 32; ++i)
      pair(0xC0 + i, 0xE0 + i);
    for (const auto& p : kExtraPairs)
      pair(p[0], p[1]);

    // Weights: non-alphanumerics in byte order, digits, Latin, then Cyrillic lower-case
    // letters by code point with ё right after е.
    int next = 0;
    for (int i = 0; i < 256; ++i) {
      const bool digit = i >= '0' && i <= '9';
      if (!digit && !letter[i]) weight[i] = next++;
    }
    for (int i = '0'; i <= '9'; ++i)
      weight[i] = next++;
    for (int i = 'a'; i <= 'z'; ++i)
      weight[i] = next++;
    std::array<std::pair<double, int>, 256> cyrillic{};
    int count = 0;
    for (int i = 0x80; i < 256; ++i) {
      if (!letter[i] || lower[i] != i) continue;
      double key = CodePointOf1251(static_cast<unsigned char>(i));
      if (i == 0xB8) key = 0x0435 + 0.5;  // ё sorts right after е
      cyrillic[count++] = {key, i};
    }
    std::sort(cyrillic.begin(), cyrillic.begin() + count);
    for (int k = 0; k < count; ++k)
      weight[cyrillic[k].second] = next++;
    // Upper-case letters weigh like their lower-case partners.
    for (int i = 0; i < 256; ++i)
      if (letter[i] && lower[i] != i) weight[i] = weight[lower[i]];

    for (int i = 0; i < 256; ++i)
      byte_of[CodePointOf1251(static_cast<unsigned char>(i))] = static_cast<unsigned char>(i);
  }
};

const Tables& T() {
  static const Tables tables;
  return tables;
}

}  // namespace

char32_t CodePointOf1251(unsigned char byte) {
  if (byte < 0x80) return byte;
  if (byte >= 0xC0) return 0x0410 + (byte - 0xC0);
  return kHighTable[byte - 0x80];
}

int ByteOfCodePoint1251(char32_t code_point) {
  if (code_point < 0x80) return static_cast<int>(code_point);
  const auto& map = T().byte_of;
  auto it = map.find(code_point);
  return it == map.end() ? -1 : it->second;
}

char UpperChar(char c) {
  return static_cast<char>(T().upper[static_cast<unsigned char>(c)]);
}
char LowerChar(char c) {
  return static_cast<char>(T().lower[static_cast<unsigned char>(c)]);
}
bool IsLetter1251(char c) {
  return T().letter[static_cast<unsigned char>(c)];
}
int SortWeight(char c) {
  return T().weight[static_cast<unsigned char>(c)];
}

std::string UpperCase(std::string_view text) {
  const auto& table = T().upper;
  std::string result(text);
  for (char& c : result)
    c = static_cast<char>(table[static_cast<unsigned char>(c)]);
  return result;
}

std::string LowerCase(std::string_view text) {
  const auto& table = T().lower;
  std::string result(text);
  for (char& c : result)
    c = static_cast<char>(table[static_cast<unsigned char>(c)]);
  return result;
}

int CompareText(std::string_view a, std::string_view b) {
  const auto& weight = T().weight;
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const int wa = weight[static_cast<unsigned char>(a[i])];
    const int wb = weight[static_cast<unsigned char>(b[i])];
    if (wa != wb) return wa < wb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  const auto& lower = T().lower;
  for (size_t i = 0; i < a.size(); ++i)
    if (lower[static_cast<unsigned char>(a[i])] != lower[static_cast<unsigned char>(b[i])])
      return false;
  return true;
}

}  // namespace pagelathe
