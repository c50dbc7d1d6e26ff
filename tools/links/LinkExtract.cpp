// The links search of one document. The file path scans the bytes for the protocol and finds
// the piece around each occurrence, so pieces without the protocol cost nothing but the scan.
#include "tools/links/LinkExtract.h"

#include <array>
#include <cstring>

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
constexpr std::array<bool, 256> kLineBreaks = MakeTable(" ");  // document lines
constexpr std::array<bool, 256> kFileBreaks = MakeTable(std::string_view(" \r\n", 3));

// The byte of a protocol that the scan looks for first: ":" is rare in documents outside
// of links, so the scan mostly runs at memchr speed.
size_t AnchorOf(std::string_view protocol) {
  const size_t colon = protocol.find(':');
  return colon != std::string_view::npos ? colon : protocol.size() - 1;
}

// The first occurrence of `what` in `text` at or after `from`; `anchor` is AnchorOf(what).
size_t Find(std::string_view text, std::string_view what, size_t anchor, size_t from) {
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  const char* at = begin + from + anchor;
  while (at < end) {
    const void* hit = std::memchr(at, what[anchor], static_cast<size_t>(end - at));
    if (!hit) return std::string_view::npos;
    const char* start = static_cast<const char*>(hit) - anchor;
    if (static_cast<size_t>(end - start) < what.size()) return std::string_view::npos;
    if (std::memcmp(start, what.data(), what.size()) == 0)
      return static_cast<size_t>(start - begin);
    at = static_cast<const char*>(hit) + 1;
  }
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
  return std::string(line);
}

LinkExtractor::LinkExtractor(std::string protocol, int link_type, const TextList& exclusion_lines)
    : protocol_(std::move(protocol)), link_type_(link_type) {
  for (const std::string& line : exclusion_lines) {
    std::string text = ExclusionText(line, protocol_);
    if (!text.empty()) exclusions_.push_back(std::move(text));
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

void LinkExtractor::Shape(std::string_view link, TextList& found) const {
  switch (static_cast<LinkShape>(link_type_)) {
    case LinkShape::Domen:
      link = link.substr(0, link.find('\\'));
      link = link.substr(0, link.find('/'));
      [[fallthrough]];
    case LinkShape::FullLink: {
      std::string& added = found.emplace_back();
      added.reserve(protocol_.size() + link.size());
      added.append(protocol_).append(link);
      return;
    }
    case LinkShape::Name:
      if (const size_t slash = link.rfind('/'); slash != std::string_view::npos)
        found.emplace_back(link.substr(slash + 1));
      return;
  }
}

void LinkExtractor::ExtractPiece(std::string_view piece, bool space_appended,
                                 TextList& found) const {
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

void LinkExtractor::Scan(std::string_view text, const bool* breaks, TextList& found) const {
  if (protocol_.find("..") != std::string::npos) return;  // every piece would be skipped
  const size_t n = text.size();
  const size_t anchor = AnchorOf(protocol_);
  const char* const t = text.data();
  size_t from = 0;  // always the start of a piece
  while (from < n) {
    const size_t at = Find(text, protocol_, anchor, from);
    if (at == std::string_view::npos) return;
    // One pass over the piece around the occurrence (the first one in its piece): where it
    // starts and ends, where the link ends, and whether it holds "..".
    bool dots = false;
    size_t start = at;
    while (start > from && !breaks[static_cast<unsigned char>(t[start - 1])]) {
      dots = dots || (t[start - 1] == '.' && t[start] == '.');
      --start;
    }
    const size_t link_start = at + protocol_.size();
    size_t end = link_start;
    size_t link_end = std::string_view::npos;
    while (end < n && !breaks[static_cast<unsigned char>(t[end])]) {
      dots = dots || (t[end] == '.' && t[end - 1] == '.');
      if (link_end == std::string_view::npos && kIsLinkEnd[static_cast<unsigned char>(t[end])])
        link_end = end;
      ++end;
    }
    from = end + 1;
    if (dots) continue;
    const bool closing_space = end < n && t[end] == ' ';
    if (!exclusions_.empty() &&
        Excluded(text.substr(link_start, end - link_start + (closing_space ? 1 : 0)),
                 !closing_space))
      continue;
    if (link_end == std::string_view::npos) link_end = end;
    Shape(text.substr(link_start, link_end - link_start), found);
  }
}

void LinkExtractor::ExtractLines(const TextList& lines, TextList& found) const {
  if (protocol_.empty()) return;  // an empty text occurs nowhere
  const bool fast = !protocol_.empty() && protocol_.find(' ') == std::string::npos;
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    if (fast) {
      Scan(line, kLineBreaks.data(), found);
      continue;
    }
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

void LinkExtractor::ExtractFileText(std::string_view bytes, TextList& found) const {
  if (protocol_.empty()) return;
  if (protocol_.find_first_of(std::string_view(" \r\n", 3)) != std::string::npos) {
    ExtractLines(SplitLines(bytes), found);
    return;
  }
  if (const void* nul = std::memchr(bytes.data(), '\0', bytes.size()))
    bytes = bytes.substr(0, static_cast<size_t>(static_cast<const char*>(nul) - bytes.data()));
  Scan(bytes, kFileBreaks.data(), found);
}

void ExtractLinks(const TextList& document_lines, const std::string& protocol, int link_type,
                  const TextList& exclusion_lines, TextList& found_links) {
  LinkExtractor(protocol, link_type, exclusion_lines).ExtractLines(document_lines, found_links);
}

}  // namespace pagelathe
