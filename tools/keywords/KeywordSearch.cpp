// Word counting (through KeywordCounter), the column sort and the clean-up of opened lines.
#include "tools/keywords/KeywordSearch.h"

#include <algorithm>
#include <functional>

#include "platform/IntParse.h"
#include "platform/Letters.h"
#include "textlib/Dizerezez.h"
#include "tools/keywords/KeywordCounter.h"
#include "tools/keywords/WordSplit.h"

namespace pagelathe {
namespace {

// The "Word" column's order: ASCII letters without regard to case, every other character by
// its code (UTF-8 bytes compare as their code points do), a text before its own
// continuations.
int CompareAsciiText(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    auto ca = static_cast<unsigned char>(a[i]);
    auto cb = static_cast<unsigned char>(b[i]);
    if (ca >= 'a' && ca <= 'z') ca = static_cast<unsigned char>(ca - 'a' + 'A');
    if (cb >= 'a' && cb <= 'z') cb = static_cast<unsigned char>(cb - 'a' + 'A');
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

int CountValue(const std::string& count) {
  std::string digits;
  digits.reserve(count.size());
  for (char c : count)
    if (c != ' ') digits.push_back(c);
  return StrToInt(digits);
}

// Reorders `rows` by `keys` (one per row), stable, ascending or descending.
template <typename Key, typename Less>
void StableSortBy(std::vector<KeywordEntry>& rows, const std::vector<Key>& keys, int direction,
                  Less less) {
  std::vector<size_t> order(rows.size());
  for (size_t i = 0; i < order.size(); ++i)
    order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return direction < 0 ? less(keys[b], keys[a]) : less(keys[a], keys[b]);
  });
  std::vector<KeywordEntry> sorted;
  sorted.reserve(rows.size());
  for (size_t i : order)
    sorted.push_back(std::move(rows[i]));
  rows.swap(sorted);
}

}  // namespace

TextList SplitWords(std::string_view line, int min_length) {
  TextList words;
  std::string scratch;
  wordsplit::ForEachPiece(line, scratch, [&](std::string_view word, bool ascii) {
    if (wordsplit::LongEnough(ascii ? word.size() : CharLength(word), min_length))
      words.emplace_back(word);
  });
  return words;
}

std::vector<KeywordEntry> FindKeywords(const TextList& lines, int min_length, int min_frequency,
                                       bool case_sensitive) {
  KeywordCounter counter(min_length, case_sensitive);
  for (const auto& line : lines)
    counter.AddLine(line);
  return counter.Rows(min_frequency);
}

void SortKeywordList(std::vector<KeywordEntry>& rows, int column, KeywordSortState& state) {
  int direction = column != state.LastColumn ? -1 : state.Direction;
  if (column == 0) {
    std::vector<std::string> keys;
    keys.reserve(rows.size());
    for (const auto& row : rows)
      keys.push_back(row.Word);
    StableSortBy(rows, keys, direction, [](const std::string& a, const std::string& b) {
      return CompareAsciiText(a, b) < 0;
    });
  } else if (column == 1) {
    std::vector<int> keys;
    keys.reserve(rows.size());
    for (const auto& row : rows)
      keys.push_back(CountValue(row.Count));  // may throw: no change
    StableSortBy(rows, keys, direction, std::less<int>());
  }
  state.Direction = -direction;
  state.LastColumn = column;
}

void CleanOpenedText(TextList& lines) {
  for (auto& line : lines)
    line = DelDoubBlank(DeleteTag(line));
}

}  // namespace pagelathe
