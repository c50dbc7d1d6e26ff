// The cut of one line into words, shared by SplitWords and the counter, so that there is one
// rule: ".", ",", "?", "!", "*" and "-" deleted, then pieces between blanks (the blank put
// after the line included), kept when at least `min_length` bytes long.
#pragma once

#include <string>
#include <string_view>

namespace pagelathe::wordsplit {

inline bool IsDeletedMark(char c) {
  return c == '.' || c == ',' || c == '?' || c == '!' || c == '*' || c == '-';
}

inline bool LongEnough(size_t length, int min_length) {
  return static_cast<long long>(length) >= static_cast<long long>(min_length);
}

// Calls `take(word)` for every kept word of `line`; `scratch` holds the line without its
// deleted marks and must outlive the calls.
template <typename Take>
void ForEachWord(std::string_view line, int min_length, std::string& scratch, Take&& take) {
  scratch.resize(line.size());
  char* const first = scratch.data();
  char* write = first;
  for (const char c : line) {
    *write = c;
    write += IsDeletedMark(c) ? 0 : 1;
  }
  const std::string_view clean(first, static_cast<size_t>(write - first));
  size_t start = 0;
  for (size_t i = 0; i <= clean.size(); ++i) {
    if (i < clean.size() && clean[i] != ' ') continue;
    // Every blank ends a piece, and so does the blank put after the line.
    const std::string_view piece = clean.substr(start, i - start);
    if (LongEnough(piece.size(), min_length)) take(piece);
    start = i + 1;
  }
}

}  // namespace pagelathe::wordsplit
