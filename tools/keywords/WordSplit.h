// The cut of one line into words, shared by SplitWords and the counter, so that there is one
// rule: ".", ",", "?", "!", "*" and "-" deleted, then pieces between blanks (the blank put
// after the line included), kept when at least `min_length` bytes long.
#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pagelathe::wordsplit {

inline bool IsDeletedMark(char c) {
  return c == '.' || c == ',' || c == '?' || c == '!' || c == '*' || c == '-';
}

inline bool LongEnough(size_t length, int min_length) {
  return static_cast<long long>(length) >= static_cast<long long>(min_length);
}

// Calls `take(word)` for every kept word of `line`. The marks are not blanks, so the words are
// the pieces between the line's own blanks, each without its marks: only a piece that holds a
// mark is copied, into `scratch` (which must outlive the calls).
template <typename Take>
void ForEachWord(std::string_view line, int min_length, std::string& scratch, Take&& take) {
  const char* const p = line.data();
  const size_t n = line.size();
  size_t start = 0;
  bool marked = false;
  const auto piece_until = [&](size_t end) {
    std::string_view piece(p + start, end - start);
    if (marked) {
      scratch.clear();
      for (const char c : piece)
        if (!IsDeletedMark(c)) scratch.push_back(c);
      piece = scratch;
    }
    if (LongEnough(piece.size(), min_length)) take(piece);
    start = end + 1;
    marked = false;
  };
  size_t i = 0;
#if defined(__SSE2__)
  // Sixteen bytes at a time: the blanks end pieces, the marks only flag them.
  const auto equal = [](__m128i block, char c) {
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(c))));
  };
  for (; i + 16 <= n; i += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    uint32_t blanks = equal(block, ' ');
    uint32_t marks = equal(block, '.') | equal(block, ',') | equal(block, '?') | equal(block, '!') |
                     equal(block, '*') | equal(block, '-');
    while (blanks) {
      const int at = std::countr_zero(blanks);
      const uint32_t before = (1u << at) - 1u;
      marked = marked || (marks & before) != 0;
      marks &= ~before;
      piece_until(i + static_cast<size_t>(at));
      blanks &= blanks - 1;
    }
    marked = marked || marks != 0;
  }
#endif
  for (; i < n; ++i) {
    const char c = p[i];
    if (c == ' ') {
      piece_until(i);
    } else if (IsDeletedMark(c)) {
      marked = true;
    }
  }
  piece_until(n);  // the blank put after the line ends the last piece
}

}  // namespace pagelathe::wordsplit
