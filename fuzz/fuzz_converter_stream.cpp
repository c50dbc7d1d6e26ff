// The streamed converter against the whole document: the first bytes of the input choose
// where the document is cut into pieces, the rest is the document.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "tools/converter/HtmlText.h"
#include "tools/converter/HtmlTextStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const size_t cut_count = data[0] % 8;
  if (size < 1 + cut_count) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1 + cut_count,
                               size - 1 - cut_count);
  std::vector<size_t> cuts;
  size_t at = 0;
  for (size_t i = 0; i < cut_count; ++i) {
    at += data[1 + i];
    if (at > bytes.size()) break;
    cuts.push_back(at);
  }
  pagelathe::HtmlTextStream stream(pagelathe::kSeparatorText);
  std::string streamed;
  size_t from = 0;
  for (const size_t cut : cuts) {
    stream.Feed(bytes.substr(from, cut - from), streamed);
    from = cut;
  }
  stream.Feed(bytes.substr(from), streamed);
  stream.Finish(streamed);
  const std::string whole =
      pagelathe::HtmlToText(pagelathe::JoinedText(bytes), pagelathe::kSeparatorText);
  if (streamed != whole) std::abort();
  return 0;
}
