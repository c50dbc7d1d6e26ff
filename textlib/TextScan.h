// Small scanning helpers shared by the text library's sources (not part of its interface).
#pragma once

#include <cstring>
#include <string>
#include <string_view>

namespace pagelathe::textscan {

// Position of the first `c` in text[from, size), or npos.
inline std::size_t FindChar(std::string_view text, char c, std::size_t from) {
  if (from >= text.size()) return std::string_view::npos;
  const void* hit = std::memchr(text.data() + from, c, text.size() - from);
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data())
             : std::string_view::npos;
}

// Replaces every occurrence of `from` (not empty) by `to`, left to right and without looking
// again at what was put in: the rule of a single "replace all". Returns the text untouched when
// `from` does not occur.
inline std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  std::size_t hit = text.find(from);
  if (hit == std::string::npos) return text;
  std::string result;
  result.reserve(text.size());
  std::size_t pos = 0;
  while (hit != std::string::npos) {
    result.append(text, pos, hit - pos);
    result.append(to);
    pos = hit + from.size();
    hit = text.find(from, pos);
  }
  result.append(text, pos, std::string::npos);
  return result;
}

}  // namespace pagelathe::textscan
