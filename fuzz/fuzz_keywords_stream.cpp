// The line-by-line counter against FindKeywords: the first byte sets the piece size, the
// minimum length, frequency and case; the rest is the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/LineStream.h"
#include "platform/TextList.h"
#include "tools/keywords/KeywordCounter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int min_length = data[0] & 3;
  const int min_frequency = (data[0] >> 2) & 3;
  const bool case_sensitive = (data[0] >> 4) & 1;
  const size_t piece = 1 + (data[0] >> 5) * 5;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  pagelathe::KeywordCounter counter(min_length, case_sensitive);
  pagelathe::LineStream lines;
  const auto take = [&counter](std::string_view line) { counter.AddLine(line); };
  for (size_t at = 0; at < text.size(); at += piece)
    lines.Feed(text.substr(at, piece), take);
  lines.Finish(take);
  if (counter.Rows(min_frequency) != pagelathe::FindKeywords(pagelathe::SplitLines(text),
                                                             min_length, min_frequency,
                                                             case_sensitive))
    std::abort();
  return 0;
}
