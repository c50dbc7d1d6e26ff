// Fuzzes the keyword count, the column sort and the clean-up of opened files. The first three
// bytes choose the minimum length, the minimum frequency and case sensitivity; the rest is
// the text. Checks what must hold for any text: every kept word is counted once, each row
// meets the minimum frequency, and sorting keeps the same rows.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/TextList.h"
#include "tools/keywords/KeywordSearch.h"

using namespace pagelathe;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const int min_length = static_cast<int>(data[0] % 8) - 2;
  const int min_frequency = static_cast<int>(data[1] % 6) - 1;
  const bool case_sensitive = (data[2] & 1) != 0;
  const std::string text(reinterpret_cast<const char*>(data) + 3, size - 3);
  TextList lines = SplitLines(text);

  size_t words = 0;
  for (const auto& line : lines)
    words += SplitWords(line, min_length).size();
  auto rows = FindKeywords(lines, min_length, min_frequency, case_sensitive);

  // With a minimum frequency of 1 or less every word is in exactly one row.
  long long counted = 0;
  for (const auto& row : rows) {
    const long long count = std::stoll(row.Count);
    if (count < 1 || count < min_frequency || !row.Checked) std::abort();
    if (static_cast<long long>(row.Word.size()) < min_length) std::abort();
    counted += count;
  }
  if (min_frequency <= 1 && counted != static_cast<long long>(words)) std::abort();
  if (counted > static_cast<long long>(words)) std::abort();

  auto sorted = rows;
  KeywordSortState state;
  for (size_t i = 3; i < std::min<size_t>(size, 8); ++i)
    SortKeywordList(sorted, data[i] % 3, state);
  auto by_word = [](const KeywordEntry& a, const KeywordEntry& b) {
    return a.Word != b.Word ? a.Word < b.Word : a.Count < b.Count;
  };
  std::sort(rows.begin(), rows.end(), by_word);
  std::sort(sorted.begin(), sorted.end(), by_word);
  if (rows != sorted) std::abort();

  CleanOpenedText(lines);
  return 0;
}
