// Piece cutting and link extraction on arbitrary bytes: the file path, the line path and the
// piece-by-piece reading must agree, every link must begin with the protocol (full links and
// domains) and hold no end-of-link character, and the displayed list built from the links must
// keep its rule.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tools/links/LinkExtract.h"
#include "tools/links/LinkView.h"

using namespace pagelathe;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const LinkShape link_type = LinkShapeAt(data[0] % 4);  // 3: no link type selected
  const std::string protocol = kSearchProtocols[data[1] % 7];
  const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);
  // The first line of the input doubles as an exclusion list.
  const TextList exclusions = {
      std::string(bytes.substr(0, bytes.find('\n') == bytes.npos ? 0 : bytes.find('\n'))), ""};
  const LinkExtractor extractor(protocol, link_type, exclusions);
  LinkStore by_file, by_lines, by_page;
  extractor.ExtractFileText(bytes, by_file);
  const TextList lines = SplitLines(bytes);
  extractor.ExtractLines(lines, by_lines);
  if (by_file != by_lines) std::abort();
  LinkStore by_pieces;
  extractor.ExtractPieceByPiece(lines, by_pieces);
  if (by_file != by_pieces) std::abort();
  extractor.ExtractLines({std::string(bytes)}, by_page);  // one fetched page
  (void)CutIntoPieces(lines);
  for (const LinkStore* found : {&by_file, &by_page}) {
    for (std::string_view link : *found) {
      if (link_type != LinkShape::Name && !link.starts_with(protocol)) std::abort();
      const std::string_view rest =
          link_type == LinkShape::Name ? link : link.substr(protocol.size());
      if (rest.find_first_of(std::string_view("<> '\")]\t\n")) != rest.npos) std::abort();
    }
  }
  LinkViewOptions options;
  options.sort = data[0] & 8;
  options.no_http = data[0] & 16;
  options.view = (data[0] >> 5) % 3;
  options.link_type = link_type;
  options.protocol = protocol;
  const TextList shown = BuildLinkView(by_page, options);
  if (shown.size() > by_page.size()) std::abort();
  return 0;
}
