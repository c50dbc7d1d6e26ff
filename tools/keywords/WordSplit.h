// The cut of one line into words, shared by SplitWords and the counter, so that there is one
// rule: ".", ",", "?", "!", "*" and "-" deleted, then pieces between blanks (the blank put
// after the line included), kept when at least `min_length` characters long (code points
// after NFC). The cut itself works on bytes: every byte it looks at is ASCII, and UTF-8 never
// uses an ASCII byte inside a character.
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

// Calls `take(piece, ascii)` for every piece of `line`, whatever its length: `ascii` tells
// that every byte of it is ASCII, so that its length is its size. The marks are not blanks,
// so the pieces are those between the line's own blanks, each without its marks: only a
// piece that holds a mark is copied, into `scratch` (which must outlive the calls).
template <typename Take>
void ForEachPiece(std::string_view line, std::string& scratch, Take&& take) {
  const char* const p = line.data();
  const size_t n = line.size();
  size_t start = 0;
  bool marked = false;
  bool high = false;  // a byte above 0x7F in the piece
  const auto piece_until = [&](size_t end) {
    std::string_view piece(p + start, end - start);
    if (marked) {
      scratch.clear();
      for (const char c : piece)
        if (!IsDeletedMark(c)) scratch.push_back(c);
      piece = scratch;
    }
    take(piece, !high);
    start = end + 1;
    marked = false;
    high = false;
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
    uint32_t highs = static_cast<uint32_t>(_mm_movemask_epi8(block));
    while (blanks) {
      const int at = std::countr_zero(blanks);
      const uint32_t before = (1u << at) - 1u;
      marked = marked || (marks & before) != 0;
      high = high || (highs & before) != 0;
      marks &= ~before;
      highs &= ~before;
      piece_until(i + static_cast<size_t>(at));
      blanks &= blanks - 1;
    }
    marked = marked || marks != 0;
    high = high || highs != 0;
  }
#endif
  for (; i < n; ++i) {
    const char c = p[i];
    if (c == ' ') {
      piece_until(i);
    } else if (IsDeletedMark(c)) {
      marked = true;
    } else if (static_cast<unsigned char>(c) >= 0x80) {
      high = true;
    }
  }
  piece_until(n);  // the blank put after the line ends the last piece
}

}  // namespace pagelathe::wordsplit
