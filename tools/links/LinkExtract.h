// Finding the links of one protocol in a document: the document is cut into space-ended
// pieces, each piece gives at most one link (from the first occurrence of the protocol), the
// exclusion list drops pieces, and the link is cut at the first end-of-link character and
// shaped as a full link, a domain or a file name.
#pragma once

#include <string>
#include <string_view>

#include "platform/LinkStore.h"
#include "platform/TextList.h"
#include "tools/links/LinkShape.h"

namespace pagelathe {

// The protocols offered by the search type list, in its order.
inline constexpr const char* kSearchProtocols[] = {"file://",  "ftp://",  "gopher://", "http://",
                                                   "https://", "news://", "telnet://"};

// Cuts document lines into pieces: one space is appended to each non-empty line, and every
// piece runs up to and including a space. Pieces never join lines.
// Example: {"a  b", ""} gives {"a ", " ", "b "}.
[[nodiscard]] TextList CutIntoPieces(const TextList& lines);

// What an exclusion line excludes for a protocol: the line without everything up to and
// including the first occurrence of the protocol, then without everything up to and including
// the first "www.". Empty means the line excludes nothing, and so does a rest made only of
// blanks: every piece ends with a blank, so such a line would exclude every link.
// Example: ("http://www.host.org", "http://") gives "host.org"; ("http:// ", "http://") "".
[[nodiscard]] std::string ExclusionText(std::string_view line, std::string_view protocol);

// The search of documents for links of one protocol, with the exclusions taken once.
class LinkExtractor {
 public:
  // An empty protocol occurs nowhere and finds nothing. With LinkShape::None links are found
  // but nothing is appended.
  LinkExtractor(std::string protocol, LinkShape shape, const TextList& exclusion_lines);

  // Searches document lines (a fetched page is one line with its line breaks inside) and
  // appends the shaped links to `found`, in document order.
  void ExtractLines(const TextList& lines, LinkStore& found) const;

  // The same, one piece at a time as the rule reads: what the scan of ExtractLines must
  // always agree with (and what serves a protocol that holds a blank).
  void ExtractPieceByPiece(const TextList& lines, LinkStore& found) const;

  // The same for the bytes of a file: exactly what SplitLines(bytes) followed by ExtractLines
  // gives, without building the lines.
  void ExtractFileText(std::string_view bytes, LinkStore& found) const;

  // One piece. `piece` is its text without the closing space when `space_appended` is true
  // (the end of a line) and with it otherwise.
  void ExtractPiece(std::string_view piece, bool space_appended, LinkStore& found) const;

  [[nodiscard]] const std::string& Protocol() const { return protocol_; }

 private:
  // Scans `text` for occurrences of the protocol. Pieces end at a space, and in the text of a
  // file (`file_text`) at a line break too.
  void Scan(std::string_view text, bool file_text, LinkStore& found) const;
  [[nodiscard]] bool Excluded(std::string_view candidate, bool space_appended) const;
  void Shape(std::string_view link, LinkStore& found) const;

  std::string protocol_;
  LinkShape shape_;
  TextList exclusions_;  // the non-empty exclusion texts
};

// The search of one document as the page does it: pieces, then links.
// Example: protocol "http://", LinkShape::Domen, the line `<a href="http://host/a.html">`
// gives "http://host".
void ExtractLinks(const TextList& document_lines, const std::string& protocol, LinkShape shape,
                  const TextList& exclusion_lines, LinkStore& found_links);

}  // namespace pagelathe
