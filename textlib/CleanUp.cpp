// Character-level clean-up: control characters, letter case, abbreviation, reversal, keyboard
// layouts, entities and digit tests. Each function builds its result in one pass.
#include <algorithm>
#include <array>

#include "platform/Win1251.h"
#include "textlib/Dizerezez.h"
#include "textlib/TextScan.h"

namespace pagelathe {
namespace {

bool IsSpam(char c) {
  return static_cast<unsigned char>(c) < 32;
}

// Byte-to-byte map that sends each character of `from` to the one at the same position of
// `to` and leaves every other byte alone.
std::array<char, 256> LayoutMap(std::string_view from, std::string_view to) {
  std::array<char, 256> map{};
  for (int i = 0; i < 256; ++i)
    map[i] = static_cast<char>(i);
  for (std::size_t i = 0; i < from.size(); ++i)
    map[static_cast<unsigned char>(from[i])] = to[i];
  return map;
}

std::string Remap(const std::string& text, const std::array<char, 256>& map) {
  std::string result(text.size(), '\0');
  for (std::size_t i = 0; i < text.size(); ++i)
    result[i] = map[static_cast<unsigned char>(text[i])];
  return result;
}

}  // namespace

std::string DeleteSpam(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (char c : text)
    if (!IsSpam(c)) result.push_back(c);
  return result;
}

std::string DeleteSpamA(const std::string& text) {
  // Deleting each row of Spam in turn leaves exactly the characters that are in no row, so one
  // pass against a table of the rows gives the same text.
  std::array<bool, 256> drop{};
  for (char c : Spam)
    drop[static_cast<unsigned char>(c)] = true;
  std::string result;
  result.reserve(text.size());
  for (char c : text)
    if (!drop[static_cast<unsigned char>(c)]) result.push_back(c);
  return result;
}

std::string LargeLtterStr(const std::string& text, int n) {
  if (n < 1 || static_cast<std::size_t>(n) > text.size()) return {};
  std::string result = text;
  result[n - 1] = UpperChar(result[n - 1]);
  return result;
}

std::string LargeStr(const std::string& text) {
  std::string result = text;
  for (std::size_t i = 0; i < result.size(); ++i)
    if (i == 0 || text[i - 1] == ' ') result[i] = UpperChar(result[i]);
  return result;
}

std::string AbbrevStr(const std::string& text) {
  auto is_white = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  const auto first = std::find_if_not(text.begin(), text.end(), is_white);
  const auto last = std::find_if_not(text.rbegin(), text.rend(), is_white).base();
  if (first >= last) return {};
  const std::string words = DelDoubBlank(std::string(first, last));
  std::string result(1, UpperChar(words[0]));
  // After trimming no blank is last, so every blank has a character after it.
  for (std::size_t i = 1; i < words.size(); ++i)
    if (words[i - 1] == ' ') result.push_back(UpperChar(words[i]));
  return result;
}

std::string SrtTotrS(const std::string& text) {
  return std::string(text.rbegin(), text.rend());
}

std::string EngToRus(const std::string& text) {
  static const std::array<char, 256> map = LayoutMap(EngLet, RusLet);
  return Remap(text, map);
}

std::string RusToEng(const std::string& text) {
  static const std::array<char, 256> map = LayoutMap(RusLet, EngLet);
  return Remap(text, map);
}

std::string ChangeHSym(const std::string& text) {
  // Row by row over the whole text: what one row puts in may complete an entity of a later
  // row ("&amp;lt;" gives "<"), but never of an earlier one.
  std::string result = text;
  for (std::size_t row = 0; row < HSym.size(); ++row)
    result = textscan::ReplaceAll(std::move(result), HSym[row], TSym[row]);
  return result;
}

std::string ChangeTSym(const std::string& text) {
  // "&" is escaped first, so the "&" of the later entities is never escaped again; escaping
  // neither adds nor removes blanks, so pairs of blanks can be written in the same pass.
  std::string result;
  result.reserve(text.size() + text.size() / 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    switch (c) {
      case '&':
        result += "&amp;";
        break;
      case '<':
        result += "&lt;";
        break;
      case '>':
        result += "&gt;";
        break;
      case ' ':
        if (i + 1 < text.size() && text[i + 1] == ' ') {
          result += " &nbsp;";
          ++i;
        } else {
          result += ' ';
        }
        break;
      default:
        result += c;
    }
  }
  return result;
}

bool ToLetInteger(const std::string& text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return LetInteger.find(c) != std::string_view::npos; });
}

int SimStrPro(const std::string& a, const std::string& b) {
  if (a.empty()) return 0;
  const std::size_t common = std::min(a.size(), b.size());
  int same = 0;
  for (std::size_t i = 0; i < common; ++i)
    if (a[i] == b[i]) ++same;
  const int step = static_cast<int>(100 / a.size());
  return same * step;
}

}  // namespace pagelathe
