// The links search of one document. The file path scans the bytes for the protocol and finds
// the piece around each occurrence, so pieces without the protocol cost nothing but the scan.
#include "tools/links/LinkExtract.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/Utf8.h"
#include "platform/Win1251.h"

namespace pagelathe {
namespace {

// The characters that end a link, in the order the rule lists them.
constexpr std::string_view kLinkEnds = "<> '\")]\t\n";

constexpr std::array<bool, 256> MakeTable(std::string_view chars) {
  std::array<bool, 256> table{};
  for (char c : chars)
    table[static_cast<unsigned char>(c)] = true;
  return table;
}

constexpr std::array<bool, 256> kIsLinkEnd = MakeTable(kLinkEnds);

// The bytes that end a piece: up to three, and the same as a table.
struct PieceBreaks {
  char first, second, third;
  std::array<bool, 256> table;
};

constexpr PieceBreaks kLineBreaks{' ', ' ', ' ', MakeTable(" ")};  // document lines
constexpr PieceBreaks kFileBreaks{' ', '\r', '\n', MakeTable(std::string_view(" \r\n", 3))};

// The rest of a piece from where its link starts: the piece's end (its break, or the end of
// the text), where the link ends (its first end-of-link character, or the piece's end), and
// whether a ".." begins at or after the byte before `link_start`.
struct PieceTail {
  size_t end;
  size_t link_end;
  bool dots;
};

PieceTail WalkPieceTail(std::string_view text, size_t link_start, const PieceBreaks& breaks) {
  const char* const t = text.data();
  const size_t n = text.size();
  size_t link_end = std::string_view::npos;
  bool dots = false;
  bool previous_dot = t[link_start - 1] == '.';
  size_t p = link_start;
#if defined(__SSE2__)
  // Sixteen bytes at a time: one bit per byte for the breaks, the end-of-link characters and
  // the dots, so the common run of ordinary link characters costs a few instructions.
  const __m128i break1 = _mm_set1_epi8(breaks.first);
  const __m128i break2 = _mm_set1_epi8(breaks.second);
  const __m128i break3 = _mm_set1_epi8(breaks.third);
  const __m128i dot = _mm_set1_epi8('.');
  static_assert(kLinkEnds.size() == 9);
  const __m128i ends[9] = {
      _mm_set1_epi8(kLinkEnds[0]), _mm_set1_epi8(kLinkEnds[1]), _mm_set1_epi8(kLinkEnds[2]),
      _mm_set1_epi8(kLinkEnds[3]), _mm_set1_epi8(kLinkEnds[4]), _mm_set1_epi8(kLinkEnds[5]),
      _mm_set1_epi8(kLinkEnds[6]), _mm_set1_epi8(kLinkEnds[7]), _mm_set1_epi8(kLinkEnds[8])};
  for (; p + 16 <= n; p += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + p));
    const __m128i is_break =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, break1), _mm_cmpeq_epi8(v, break2)),
                     _mm_cmpeq_epi8(v, break3));
    const auto break_bits = static_cast<uint32_t>(_mm_movemask_epi8(is_break));
    const auto dot_bits = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, dot)));
    // Bit i: the bytes i - 1 and i are both dots.
    const uint32_t pairs = dot_bits & ((dot_bits << 1) | (previous_dot ? 1u : 0u));
    previous_dot = (dot_bits >> 15) & 1u;
    if (link_end == std::string_view::npos) {
      const __m128i is_end = _mm_or_si128(
          _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, ends[0]), _mm_cmpeq_epi8(v, ends[1])),
                       _mm_or_si128(_mm_cmpeq_epi8(v, ends[2]), _mm_cmpeq_epi8(v, ends[3]))),
          _mm_or_si128(
              _mm_or_si128(_mm_cmpeq_epi8(v, ends[4]), _mm_cmpeq_epi8(v, ends[5])),
              _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, ends[6]), _mm_cmpeq_epi8(v, ends[7])),
                           _mm_cmpeq_epi8(v, ends[8]))));
      if (const auto end_bits = static_cast<uint32_t>(_mm_movemask_epi8(is_end)))
        link_end = p + static_cast<size_t>(std::countr_zero(end_bits));
    }
    if (break_bits) {
      const int limit = std::countr_zero(break_bits);
      dots = dots || (pairs & ((1u << limit) - 1u)) != 0;
      const size_t end = p + static_cast<size_t>(limit);
      return {end, link_end < end ? link_end : end, dots};
    }
    dots = dots || pairs != 0;
  }
#endif
  for (; p < n; ++p) {
    const auto c = static_cast<unsigned char>(t[p]);
    if (breaks.table[c]) break;
    dots = dots || (c == '.' && previous_dot);
    previous_dot = c == '.';
    if (link_end == std::string_view::npos && kIsLinkEnd[c]) link_end = p;
  }
  return {p, link_end < p ? link_end : p, dots};
}

// The byte of a protocol that the scan looks for with its first byte: ":" is rare in
// documents outside of links, so the pair is rarer still and few places need a closer look.
size_t AnchorOf(std::string_view protocol) {
  const size_t colon = protocol.find(':');
  return colon != std::string_view::npos && colon > 0 ? colon : protocol.size() - 1;
}

bool SameBytes(const char* a, const char* b, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (a[i] != b[i]) return false;
  return true;
}

// The first occurrence of `what` in `text` at or after `from`; `anchor` is AnchorOf(what).
size_t Find(std::string_view text, std::string_view what, size_t anchor, size_t from) {
  const char* const t = text.data();
  const size_t n = text.size();
  const size_t m = what.size();
  if (n < m) return std::string_view::npos;
  const size_t last = n - m;  // the last place where an occurrence can start
  size_t p = from;
#if defined(__SSE2__)
  // Sixteen places at a time: those where the first byte and the anchor byte both match. Such
  // places are rare, so four blocks are tested together first.
  const __m128i first = _mm_set1_epi8(what[0]);
  const __m128i second = _mm_set1_epi8(what[anchor]);
  const auto matches = [&](size_t q) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + q));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + q + anchor));
    return _mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, second));
  };
  const auto check = [&](size_t q, __m128i block) -> size_t {
    for (auto bits = static_cast<uint32_t>(_mm_movemask_epi8(block)); bits; bits &= bits - 1) {
      const size_t at = q + static_cast<size_t>(std::countr_zero(bits));
      if (SameBytes(t + at, what.data(), m)) return at;
    }
    return std::string_view::npos;
  };
  for (; p + 63 <= last; p += 64) {
    const __m128i m0 = matches(p), m1 = matches(p + 16), m2 = matches(p + 32), m3 = matches(p + 48);
    if (!_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(m0, m1), _mm_or_si128(m2, m3)))) continue;
    size_t at = check(p, m0);
    if (at == std::string_view::npos) at = check(p + 16, m1);
    if (at == std::string_view::npos) at = check(p + 32, m2);
    if (at == std::string_view::npos) at = check(p + 48, m3);
    if (at != std::string_view::npos) return at;
  }
  for (; p + 15 <= last; p += 16)
    if (const size_t at = check(p, matches(p)); at != std::string_view::npos) return at;
#endif
  for (; p <= last; ++p)
    if (t[p] == what[0] && SameBytes(t + p, what.data(), m)) return p;
  return std::string_view::npos;
}

std::string_view LinkPrefix(std::string_view candidate) {
  size_t i = 0;
  while (i < candidate.size() && !kIsLinkEnd[static_cast<unsigned char>(candidate[i])])
    ++i;
  return candidate.substr(0, i);
}

}  // namespace

TextList CutIntoPieces(const TextList& lines) {
  TextList pieces;
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    size_t start = 0;
    for (;;) {
      const size_t space = line.find(' ', start);
      if (space == std::string::npos) {
        pieces.push_back(line.substr(start) + ' ');
        break;
      }
      pieces.push_back(line.substr(start, space - start + 1));
      start = space + 1;
    }
  }
  return pieces;
}

std::string ExclusionText(std::string_view line, std::string_view protocol) {
  if (const size_t at = line.find(protocol); at != std::string_view::npos)
    line.remove_prefix(at + protocol.size());
  if (const size_t at = line.find("www."); at != std::string_view::npos) line.remove_prefix(at + 4);
  if (line.find_first_not_of(' ') == std::string_view::npos) return {};
  return std::string(line);
}

LinkExtractor::LinkExtractor(std::string protocol, LinkShape shape, const TextList& exclusion_lines)
    : protocol_(std::move(protocol)), shape_(shape) {
  for (const std::string& line : exclusion_lines) {
    std::string text = ExclusionText(line, protocol_);
    if (text.empty()) continue;
    // The exclusions are text (UTF-8) and the documents keep their bytes: a line with letters
    // beyond ASCII excludes a Windows-1251 document's spelling of it too.
    std::string legacy;
    const bool twin = !IsAscii(text) && Utf8ToWin1251(text, legacy);
    exclusions_.push_back(std::move(text));
    if (twin) exclusions_.push_back(std::move(legacy));
  }
}

bool LinkExtractor::Excluded(std::string_view candidate, bool space_appended) const {
  for (const std::string& text : exclusions_) {
    if (candidate.find(text) != std::string_view::npos) return true;
    // The closing space that the line did not have is part of the candidate too.
    if (space_appended && text.back() == ' ' &&
        candidate.ends_with(std::string_view(text).substr(0, text.size() - 1)))
      return true;
  }
  return false;
}

void LinkExtractor::Shape(std::string_view link, LinkStore& found) const {
  switch (shape_) {
    case LinkShape::Domen:
      link = link.substr(0, link.find('\\'));
      link = link.substr(0, link.find('/'));
      [[fallthrough]];
    case LinkShape::FullLink:
      found.Append(protocol_, link);
      return;
    case LinkShape::Name:
      if (const size_t slash = link.rfind('/'); slash != std::string_view::npos)
        found.push_back(link.substr(slash + 1));
      return;
    case LinkShape::None:
      return;
  }
}

void LinkExtractor::ExtractPiece(std::string_view piece, bool space_appended,
                                 LinkStore& found) const {
  if (space_appended && !protocol_.empty() && protocol_.back() == ' ') {
    // Only a protocol ending with a blank can reach into the appended space.
    const std::string whole = std::string(piece) + ' ';
    ExtractPiece(whole, false, found);
    return;
  }
  if (protocol_.empty() || piece.find("..") != std::string_view::npos) return;
  const size_t at = piece.find(protocol_);
  if (at == std::string_view::npos) return;
  const std::string_view candidate = piece.substr(at + protocol_.size());
  if (Excluded(candidate, space_appended)) return;
  Shape(LinkPrefix(candidate), found);
}

void LinkExtractor::Scan(std::string_view text, bool file_text, LinkStore& found) const {
  const PieceBreaks& breaks = file_text ? kFileBreaks : kLineBreaks;
  if (protocol_.find("..") != std::string::npos) return;  // every piece would be skipped
  const size_t n = text.size();
  const size_t anchor = AnchorOf(protocol_);
  const char* const t = text.data();
  size_t from = 0;  // always the start of a piece
  while (from < n) {
    const size_t at = Find(text, protocol_, anchor, from);
    if (at == std::string_view::npos) return;
    // The piece around the occurrence (the first one in its piece): back to its start, which
    // is near in practice, then forward to its end, where the link ends too.
    bool dots = false;
    size_t start = at;
    while (start > from && !breaks.table[static_cast<unsigned char>(t[start - 1])]) {
      dots = dots || (t[start - 1] == '.' && t[start] == '.');
      --start;
    }
    const size_t link_start = at + protocol_.size();
    const PieceTail tail = WalkPieceTail(text, link_start, breaks);
    from = tail.end + 1;
    if (dots || tail.dots) continue;
    const size_t end = tail.end;
    const bool closing_space = end < n && t[end] == ' ';
    if (!exclusions_.empty() &&
        Excluded(text.substr(link_start, end - link_start + (closing_space ? 1 : 0)),
                 !closing_space))
      continue;
    Shape(text.substr(link_start, tail.link_end - link_start), found);
  }
}

void LinkExtractor::ExtractLines(const TextList& lines, LinkStore& found) const {
  if (protocol_.empty()) return;  // an empty text occurs nowhere
  if (protocol_.find(' ') != std::string::npos) {
    ExtractPieceByPiece(lines, found);
    return;
  }
  for (const std::string& line : lines)
    if (!line.empty()) Scan(line, false, found);
}

void LinkExtractor::ExtractPieceByPiece(const TextList& lines, LinkStore& found) const {
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    std::string_view rest = line;
    for (;;) {
      const size_t space = rest.find(' ');
      if (space == std::string_view::npos) {
        ExtractPiece(rest, true, found);
        break;
      }
      ExtractPiece(rest.substr(0, space + 1), false, found);
      rest.remove_prefix(space + 1);
    }
  }
}

void LinkExtractor::ExtractFileText(std::string_view bytes, LinkStore& found) const {
  if (protocol_.empty()) return;
  if (protocol_.find_first_of(std::string_view(" \r\n", 3)) != std::string::npos) {
    ExtractLines(SplitLines(bytes), found);
    return;
  }
  if (const void* nul = std::memchr(bytes.data(), '\0', bytes.size()))
    bytes = bytes.substr(0, static_cast<size_t>(static_cast<const char*>(nul) - bytes.data()));
  Scan(bytes, true, found);
}

void ExtractLinks(const TextList& document_lines, const std::string& protocol, LinkShape shape,
                  const TextList& exclusion_lines, LinkStore& found_links) {
  LinkExtractor(protocol, shape, exclusion_lines).ExtractLines(document_lines, found_links);
}

}  // namespace pagelathe
