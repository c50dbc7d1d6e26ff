// The links search of one document. The file path scans the bytes for the protocol and finds
// the piece around each occurrence, so pieces without the protocol cost nothing but the scan.
#include "tools/links/LinkExtract.h"

#include <string.h>

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

size_t Find(std::string_view text, std::string_view what, size_t from) {
  if (from > text.size()) return std::string_view::npos;
  const void* hit = ::memmem(text.data() + from, text.size() - from, what.data(), what.size());
  return hit ? static_cast<size_t>(static_cast<const char*>(hit) - text.data())
             : std::string_view::npos;
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
    case LinkShape::FullLink:
      found.push_back(protocol_ + std::string(link));
      return;
    case LinkShape::Domen:
      link = link.substr(0, link.find('\\'));
      link = link.substr(0, link.find('/'));
      found.push_back(protocol_ + std::string(link));
      return;
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
  const size_t n = text.size();
  size_t from = 0;  // always the start of a piece
  while (from < n) {
    const size_t at = Find(text, protocol_, from);
    if (at == std::string_view::npos) return;
    size_t start = at;
    while (start > from && !breaks[static_cast<unsigned char>(text[start - 1])])
      --start;
    size_t end = at + protocol_.size();
    while (end < n && !breaks[static_cast<unsigned char>(text[end])])
      ++end;
    const bool closing_space = end < n && text[end] == ' ';
    ExtractPiece(text.substr(start, end - start + (closing_space ? 1 : 0)), !closing_space, found);
    from = end + 1;
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
