// Counting the words of a text one line at a time, for texts too large to hold: the rows are
// exactly those of FindKeywords over the same lines, in the same order, and the memory grows
// with the distinct words only. FindKeywords itself counts with it.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "tools/keywords/KeywordSearch.h"

namespace pagelathe {

class KeywordCounter {
 public:
  KeywordCounter(int min_length, bool case_sensitive);
  ~KeywordCounter();
  KeywordCounter(KeywordCounter&&) noexcept;
  KeywordCounter& operator=(KeywordCounter&&) noexcept;

  // Counts the kept words of one line (the words of SplitWords(line, min_length)).
  void AddLine(std::string_view line);

  // The rows of the lines counted, as FindKeywords gives them. The count ends with it: its
  // look-up tables are given back first, and no line may be added after.
  [[nodiscard]] std::vector<KeywordEntry> Rows(int min_frequency);

 private:
  class Counter;
  std::unique_ptr<Counter> counter_;
};

}  // namespace pagelathe
