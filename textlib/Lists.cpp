// Clean-up of text lists in place: blanks, empty lines and repeated lines. Repeats are found
// through a hash set, so a list of a million lines is cleaned in one pass.
#include <algorithm>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "textlib/Dizerezez.h"

namespace pagelathe {
namespace {

// Keeps the lines whose flag is set, in their order.
void KeepFlagged(TextList& list, const std::vector<char>& keep) {
  std::size_t out = 0;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (!keep[i]) continue;
    if (out != i) list[out] = std::move(list[i]);
    ++out;
  }
  list.resize(out);
}

}  // namespace

TextList& DelBlankStrings(TextList& list) {
  for (auto& line : list)
    line = DeleteBlank(line);
  return list;
}

TextList& DelEmpStrings(TextList& list) {
  std::erase_if(list, [](const std::string& line) {
    return line.find_first_not_of(' ') == std::string::npos;
  });
  return list;
}

TextList& DeleteCopy(TextList& list) {
  std::vector<char> keep(list.size());
  {
    std::unordered_set<std::string_view> seen;
    seen.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i)
      keep[i] = seen.insert(list[i]).second;
  }
  KeepFlagged(list, keep);
  return list;
}

TextList DelCopyMask(TextList& list, const TextList& mask) {
  std::vector<char> keep(list.size());
  {
    // The flags are all taken before the list changes, so `mask` may be `list` itself.
    const std::unordered_set<std::string_view> masked(mask.begin(), mask.end());
    for (std::size_t i = 0; i < list.size(); ++i)
      keep[i] = !masked.contains(list[i]);
  }
  KeepFlagged(list, keep);
  return list;
}

}  // namespace pagelathe
