// Tags and blanks: the two functions every HTML-to-text path runs first, and their relatives.
// Each walks the text once with memchr and appends whole stretches to the result.
#include <cstring>

#include "textlib/Dizerezez.h"

namespace pagelathe {
namespace {

// Position of `c` in text[from, size), or npos.
std::size_t Find(const std::string& text, char c, std::size_t from) {
  if (from >= text.size()) return std::string::npos;
  const void* hit = std::memchr(text.data() + from, c, text.size() - from);
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data())
             : std::string::npos;
}

}  // namespace

std::string DeleteTag(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t open = Find(text, '<', pos);
    if (open == std::string::npos) {
      result.append(text, pos, std::string::npos);
      break;
    }
    result.append(text, pos, open - pos);
    const std::size_t close = Find(text, '>', open + 1);
    if (close == std::string::npos) break;  // an unclosed tag runs to the end of the text
    pos = close + 1;
  }
  return result;
}

std::string CopyTag(const std::string& text) {
  std::string result;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t open = Find(text, '<', pos);
    if (open == std::string::npos) break;
    const std::size_t close = Find(text, '>', open + 1);
    if (close == std::string::npos) {
      result.append(text, open, std::string::npos);
      break;
    }
    result.append(text, open, close + 1 - open);
    pos = close + 1;
  }
  return result;
}

std::string DelDoubBlank(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t blank = Find(text, ' ', pos);
    if (blank == std::string::npos) {
      result.append(text, pos, std::string::npos);
      break;
    }
    result.append(text, pos, blank + 1 - pos);
    pos = blank + 1;
    while (pos < text.size() && text[pos] == ' ')
      ++pos;
  }
  return result;
}

std::string DeleteBlank(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (char c : text)
    if (c != ' ') result.push_back(c);
  return result;
}

}  // namespace pagelathe
