// The file-type chooser's filter text and the file masks on any bytes. The first line is a
// file name, the rest a filter text ("Text files (*.txt)|*.txt|...") and a mask list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FolderList.h"
#include "platform/Letters.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t newline = input.find('\n');
  const std::string_view name = input.substr(0, newline);
  const std::string_view rest =
      newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1);

  const std::vector<pagelathe::FileFilter> filters = pagelathe::ParseFilter(rest);
  size_t bars = 0;
  for (const char c : rest)
    bars += c == '|';
  if (filters.size() > bars / 2 + 1) std::abort();
  for (const pagelathe::FileFilter& filter : filters) {
    if (filter.masks.empty()) std::abort();
    (void)pagelathe::MatchesMasks(name, filter.masks);
  }
  (void)pagelathe::MatchesMasks(name, rest);
  if (!pagelathe::MatchesMask(name, "*") || !pagelathe::MatchesMasks(name, "x;*")) std::abort();
  // A name is its own mask, in any case of its ASCII letters (the masks are extensions; the
  // other bytes of a name, of any encoding, match as they are).
  if (!name.empty() && name.front() != ' ' && name.back() != ' ') {
    if (!pagelathe::MatchesMask(name, name)) std::abort();
    if (!pagelathe::MatchesMask(pagelathe::AsciiUpperCase(name), name)) std::abort();
    if (!pagelathe::MatchesMask(name, pagelathe::AsciiLowerCase(name))) std::abort();
  }
  return 0;
}
