// Character-level clean-up: control characters, letter case, abbreviation, reversal, keyboard
// layouts, entities and digit tests. Each function builds its result in one pass.
#include <algorithm>
#include <array>
#include <cstring>

#include "platform/Letters.h"
#include "platform/Utf8.h"
#include "textlib/Dizerezez.h"
#include "textlib/TextScan.h"

namespace pagelathe {
namespace {

bool IsSpam(char c) {
  return static_cast<unsigned char>(c) < 32;
}

// The code points of a text, one after the other (a byte of no valid sequence as U+FFFD).
std::u32string CodePoints(std::string_view text) {
  std::u32string points;
  points.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    const char32_t c = NextCodePoint(text, at);
    points.push_back(c == kInvalidCodePoint ? 0xFFFD : c);
  }
  return points;
}

std::string FromCodePoints(std::u32string_view points) {
  std::string text;
  text.reserve(points.size());
  for (const char32_t c : points)
    AppendUtf8(text, c);
  return text;
}

// The characters of a text (after NFC): positions and lengths count these.
std::u32string Letters(const std::string& text) {
  return CodePoints(Nfc(text));
}

// Sends each character of `from` to the one at the same position of `to`; every other
// character stays.
std::string Retype(const std::string& text, std::string_view from, std::string_view to) {
  const std::u32string keys = CodePoints(from);
  const std::u32string values = CodePoints(to);
  std::u32string points = Letters(text);
  for (char32_t& c : points) {
    const std::size_t at = keys.find(c);
    if (at != std::u32string::npos) c = values[at];
  }
  return FromCodePoints(points);
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
  std::u32string points = Letters(text);
  if (n < 1 || static_cast<std::size_t>(n) > points.size()) return {};
  points[static_cast<std::size_t>(n) - 1] = UpperChar(points[static_cast<std::size_t>(n) - 1]);
  return FromCodePoints(points);
}

std::string LargeStr(const std::string& text) {
  std::u32string points = Letters(text);
  for (std::size_t i = 0; i < points.size(); ++i)
    if (i == 0 || points[i - 1] == ' ') points[i] = UpperChar(points[i]);
  return FromCodePoints(points);
}

std::string AbbrevStr(const std::string& text) {
  auto is_white = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  const auto first = std::find_if_not(text.begin(), text.end(), is_white);
  const auto last = std::find_if_not(text.rbegin(), text.rend(), is_white).base();
  if (first >= last) return {};
  const std::u32string words = Letters(DelDoubBlank(std::string(first, last)));
  std::u32string result(1, UpperChar(words[0]));
  // After trimming no blank is last, so every blank has a character after it.
  for (std::size_t i = 1; i < words.size(); ++i)
    if (words[i - 1] == ' ') result.push_back(UpperChar(words[i]));
  return FromCodePoints(result);
}

std::string SrtTotrS(const std::string& text) {
  std::u32string points = Letters(text);
  std::reverse(points.begin(), points.end());
  return FromCodePoints(points);
}

std::string EngToRus(const std::string& text) {
  return Retype(text, EngLet, RusLet);
}

std::string RusToEng(const std::string& text) {
  return Retype(text, RusLet, EngLet);
}

std::string ChangeHSym(const std::string& text) {
  // The rows are replaced one after the other over the whole text, which comes down to one
  // pass: every row's replacement but that of "&amp;" is a character that no later row can
  // use, and the "&" that "&amp;" leaves completes a later row ("&lt;", "&gt;", "&quot;") with
  // the text after it: "&amp;lt;" gives "<". "&nbsp;" came first, so "&amp;nbsp;" gives
  // "&nbsp;".
  std::string result;
  textscan::ReserveResult(result, text.size());
  const std::string_view all = text;
  std::size_t pos = 0;
  auto later_row = [](std::string_view rest, char& decoded) {
    for (std::size_t row = 2; row < HSym.size(); ++row) {
      if (rest.starts_with(HSym[row])) {
        decoded = TSym[row][0];
        return HSym[row].size();
      }
    }
    return std::size_t{0};
  };
  while (true) {
    const std::size_t amp = textscan::FindChar(all, '&', pos);
    if (amp == std::string_view::npos) break;
    result.append(all, pos, amp - pos);
    const std::string_view rest = all.substr(amp);
    char decoded = '&';
    if (rest.starts_with(HSym[0])) {
      result += TSym[0];
      pos = amp + HSym[0].size();
    } else if (rest.starts_with(HSym[1])) {
      // "&" followed by the text after "&amp;"
      const std::size_t after = amp + HSym[1].size();
      std::string carried = "&";
      carried.append(all.substr(after, 5));
      const std::size_t used = later_row(carried, decoded);
      result += decoded;
      pos = after + (used ? used - 1 : 0);
    } else if (const std::size_t used = later_row(rest, decoded)) {
      result += decoded;
      pos = amp + used;
    } else {
      result += '&';
      pos = amp + 1;
    }
  }
  result.append(all, pos, std::string_view::npos);
  return result;
}

std::string ChangeTSym(const std::string& text) {
  // "&" is escaped first, so the "&" of the later entities is never escaped again; escaping
  // neither adds nor removes blanks, so pairs of blanks can be written in the same pass. The
  // first pass measures the result, the second writes it through plain pointers.
  static constexpr std::array<std::string_view, 4> kEntity = {"&amp;", "&lt;", "&gt;", " &nbsp;"};
  static const std::array<unsigned char, 256> kKind = [] {
    std::array<unsigned char, 256> kind{};  // 0: plain; else 1 + row of kEntity
    kind['&'] = 1;
    kind['<'] = 2;
    kind['>'] = 3;
    kind[' '] = 4;
    return kind;
  }();
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  std::size_t size = text.size();
  for (const char* in = begin; in != end; ++in) {
    const unsigned kind = kKind[static_cast<unsigned char>(*in)];
    if (kind == 0) continue;
    if (kind < 4) {
      size += kEntity[kind - 1].size() - 1;
    } else if (in + 1 != end && in[1] == ' ') {
      size += kEntity[3].size() - 2;
      ++in;
    }
  }
  // Plain stretches are appended whole; a single blank is plain too. Appending into reserved
  // room writes every byte once (no zero fill first), which counts on a text of 100 MB.
  std::string result;
  textscan::ReserveResult(result, size);
  const char* in = begin;
  while (in != end) {
    const char* run = in;
    while (in != end) {
      const unsigned kind = kKind[static_cast<unsigned char>(*in)];
      if (kind != 0 && (kind != 4 || (in + 1 != end && in[1] == ' '))) break;
      ++in;
    }
    result.append(run, static_cast<std::size_t>(in - run));
    if (in == end) break;
    const unsigned kind = kKind[static_cast<unsigned char>(*in)];
    result.append(kEntity[kind - 1]);
    in += kind == 4 ? 2 : 1;
  }
  return result;
}

bool ToLetInteger(const std::string& text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return LetInteger.find(c) != std::string_view::npos; });
}

int SimStrPro(const std::string& a, const std::string& b) {
  const std::u32string left = Letters(a);
  const std::u32string right = Letters(b);
  if (left.empty()) return 0;
  const std::size_t common = std::min(left.size(), right.size());
  int same = 0;
  for (std::size_t i = 0; i < common; ++i)
    if (left[i] == right[i]) ++same;
  const int step = static_cast<int>(100 / left.size());
  return same * step;
}

}  // namespace pagelathe
