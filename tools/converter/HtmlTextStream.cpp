// The converter's HTML to text. The nine replacements are made in one pass; the equivalence
// with nine passes in a row rests on two facts: the tag patterns cannot overlap each other or
// "&nbsp;", and none of their replacements holds a character of any pattern. The one
// interaction left is a "<hr>" that appears where an "&nbsp;" was deleted; it is caught on the
// output side, as the last pass would see it. A replaced "<hr>" ends with CR LF, so the
// separator it brings can never be read as part of another one.
// Its three stages keep only what a rule can still change:
//  - the markup replacements look ahead at most five bytes after a "<" or "&", so a piece that
//    ends inside a possible pattern carries those bytes to the next piece;
//  - a "<hr>" is recognised on the replaced text, as the last replacement of HtmlToText sees
//    it (so "<h&nbsp;r>" is one too); replaced text that may still become one is held back;
//  - the tag removal and the blank collapse are one byte of state each.
#include "tools/converter/HtmlTextStream.h"

#include "tools/converter/HtmlRules.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pagelathe {
namespace {

using html_rules::kBreakRules;
using html_rules::kNbsp;
using html_rules::kRule;
using html_rules::kSpecial;
using html_rules::Rule;

// True when `rest` (shorter than the pattern) could still grow into a pattern at `rest[0]`.
bool MayBecomePattern(std::string_view rest) {
  if (rest[0] == '&') return kNbsp.starts_with(rest);
  for (const Rule& rule : kBreakRules)
    if (rule.found.size() > rest.size() && rule.found.starts_with(rest)) return true;
  return false;
}

#if defined(__SSE2__)
// One bit per byte of the sixteen at `p` that equals `c`.
inline uint32_t Equal(__m128i block, char c) {
  return static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(c))));
}
inline __m128i Load(const char* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
#endif

// The first byte at or after `p` that is "<", "&" or ">" (`end` when there is none).
const char* NextSpecial(const char* p, const char* end) {
#if defined(__SSE2__)
  for (; end - p >= 16; p += 16) {
    const __m128i block = Load(p);
    if (const uint32_t bits = Equal(block, '<') | Equal(block, '&') | Equal(block, '>'))
      return p + std::countr_zero(bits);
  }
#endif
  while (p < end && !kSpecial[static_cast<unsigned char>(*p)])
    ++p;
  return p;
}

}  // namespace

void LineJoiner::Feed(std::string_view bytes, std::string& out) {
  if (ended_) return;
  const size_t start = out.size();
  out.resize(start + bytes.size());
  char* write = out.data() + start;
  const char* read = bytes.data();
  const char* const end = read + bytes.size();
#if defined(__SSE2__)
  // Sixteen bytes at a time while they hold no line break and no NUL.
  while (end - read >= 16) {
    const __m128i block = Load(read);
    if (Equal(block, '\r') | Equal(block, '\n') | Equal(block, '\0')) break;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(write), block);
    read += 16;
    write += 16;
  }
#endif
  for (; read < end; ++read) {
    const char c = *read;
    if (c == '\0') {
      ended_ = true;
      break;
    }
    *write = c;
    write += (c != '\r' && c != '\n');  // no branch: line breaks are frequent in pages
#if defined(__SSE2__)
    // Back to whole blocks once the line break is behind.
    if ((c == '\n' || c == '\r') && end - read > 32) {
      ++read;
      while (end - read >= 16) {
        const __m128i block = Load(read);
        if (Equal(block, '\r') | Equal(block, '\n') | Equal(block, '\0')) break;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(write), block);
        read += 16;
        write += 16;
      }
      --read;
    }
#endif
  }
  out.resize(static_cast<size_t>(write - out.data()));
}

HtmlTextStream::HtmlTextStream(std::string_view separator, bool replace)
    : separator_(separator), replace_(replace) {}

void HtmlTextStream::Feed(std::string_view bytes, std::string& out) {
  joined_.assign(carry_);
  carry_.clear();
  joiner_.Feed(bytes, joined_);
  Take(Ended(), out);
}

void HtmlTextStream::FeedJoined(std::string_view joined, std::string& out) {
  // In slices, so that the scratch stays small however large the text.
  constexpr size_t kSlice = size_t{1} << 16;
  while (!joined.empty()) {
    const std::string_view slice = joined.substr(0, kSlice);
    joined.remove_prefix(slice.size());
    joined_.assign(carry_);
    carry_.clear();
    joined_.append(slice);
    Take(false, out);
  }
}

void HtmlTextStream::Finish(std::string& out) {
  joined_.swap(carry_);
  carry_.clear();
  Take(true, out);
}

void HtmlTextStream::Take(bool last, std::string& out) {
  if (replace_) {
    Replace(joined_, last, out);
  } else {
    Clean(joined_, out);
  }
}

void HtmlTextStream::Replace(std::string_view text, bool last, std::string& out) {
  // The replaced text begins with what the last piece held back.
  replaced_.swap(pending_);
  pending_.clear();
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    const size_t j =
        static_cast<size_t>(NextSpecial(text.data() + i, text.data() + n) - text.data());
    replaced_.append(text.data() + i, j - i);
    if (j == n) break;
    i = j;
    const std::string_view rest = text.substr(i);
    if (!last && rest.size() < kNbsp.size() && text[i] != '>' && MayBecomePattern(rest)) {
      carry_.assign(rest);
      break;
    }
    if (text[i] == '<') {
      const Rule* matched = nullptr;
      for (const Rule& rule : kBreakRules)
        if (rest.starts_with(rule.found)) {
          matched = &rule;
          break;
        }
      if (matched) {
        replaced_ += matched->replaced;
        i += matched->found.size();
      } else {
        replaced_ += '<';
        ++i;
      }
    } else if (text[i] == '&') {
      if (rest.starts_with(kNbsp)) {
        i += kNbsp.size();  // deleted: what stands on both sides now meets
      } else {
        replaced_ += '&';
        ++i;
      }
    } else {
      replaced_ += '>';
      ++i;
      if (replaced_.ends_with(kRule)) {
        replaced_.resize(replaced_.size() - kRule.size());
        replaced_ += "\r\n\r\n";
        replaced_ += separator_;
        replaced_ += "\r\n";
      }
    }
  }
  // The end that may still become a "<hr>" waits for the next piece.
  size_t keep = 0;
  if (!last) {
    for (size_t length = std::min<size_t>(3, replaced_.size()); length > 0; --length) {
      if (kRule.starts_with(std::string_view(replaced_).substr(replaced_.size() - length))) {
        keep = length;
        break;
      }
    }
  }
  pending_.assign(replaced_, replaced_.size() - keep, keep);
  replaced_.resize(replaced_.size() - keep);
  Clean(replaced_, out);
}

// Tag removal and blank collapse: the replaced text after DeleteTag and DelDoubBlank.
void HtmlTextStream::Clean(std::string_view replaced, std::string& out) {
  const size_t start = out.size();
  out.resize(start + replaced.size());
  char* const first = out.data() + start;
  char* write = first;
  bool in_tag = in_tag_;
  bool after_blank = after_blank_;
  const char* read = replaced.data();
  const char* const end = read + replaced.size();
#if defined(__SSE2__)
  while (end - read >= 16) {
    const __m128i block = Load(read);
    if (in_tag) {
      // Inside a tag only its ">" matters.
      const uint32_t closes = Equal(block, '>');
      if (!closes) {
        read += 16;
        continue;
      }
      read += std::countr_zero(closes) + 1;
      in_tag = false;
      continue;
    }
    const uint32_t opens = Equal(block, '<');
    const uint32_t blanks = Equal(block, ' ');
    const uint32_t doubled = blanks & ((blanks << 1) | (after_blank ? 1u : 0u));
    if (opens | doubled) {
      // Copy up to the first byte that needs a look of its own, then go on byte by byte.
      const int plain = std::countr_zero(opens | doubled);
      std::memcpy(write, read, static_cast<size_t>(plain));
      write += plain;
      if (plain > 0) after_blank = read[plain - 1] == ' ';
      read += plain;
      const char c = *read++;
      if (c == '<') {
        in_tag = true;
      }  // else a blank after a blank: dropped
      continue;
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(write), block);
    write += 16;
    read += 16;
    after_blank = (blanks >> 15) & 1u;
  }
#endif
  for (; read < end; ++read) {
    const char c = *read;
    in_tag = in_tag || c == '<';
    const bool blank = c == ' ';
    const bool keep = !in_tag && !(blank && after_blank);
    after_blank = in_tag ? after_blank : blank;
    in_tag = in_tag && c != '>';
    *write = c;
    write += keep ? 1 : 0;
  }
  in_tag_ = in_tag;
  after_blank_ = after_blank;
  wrote_ = wrote_ || write != first;
  out.resize(static_cast<size_t>(write - out.data()));
}

}  // namespace pagelathe
