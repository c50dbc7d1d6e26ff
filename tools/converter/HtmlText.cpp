// The converter's text rules. HtmlToText makes its nine replacements in one pass over the
// text; the equivalence with nine passes in a row rests on two facts: the tag patterns
// cannot overlap each other or "&nbsp;", and none of their replacements holds a character of
// any pattern. The one interaction left is a "<hr>" that appears where an "&nbsp;" was
// deleted; it is caught on the output side, as the last pass would see it. A replaced "<hr>"
// ends with CR LF, so the separator it brings can never be read as part of another one.
#include "tools/converter/HtmlText.h"

#include "tools/converter/HtmlRules.h"

#include <array>

#include "textlib/Dizerezez.h"

namespace pagelathe {
namespace {

using html_rules::kBreakRules;
using html_rules::kNbsp;
using html_rules::kRule;
using html_rules::kSpecial;
using html_rules::Rule;

bool EndsWith(const std::string& text, std::string_view tail) {
  return text.size() >= tail.size() &&
         std::string_view(text).substr(text.size() - tail.size()) == tail;
}

// The text after the nine replacements, before tags and blanks are cleaned.
std::string ReplaceMarkup(std::string_view text, std::string_view separator) {
  std::string out;
  out.reserve(text.size() + text.size() / 16 + 16);
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    size_t j = i;
    while (j < n && !kSpecial[static_cast<unsigned char>(text[j])])
      ++j;
    out.append(text.data() + i, j - i);
    if (j == n) break;
    i = j;
    const std::string_view rest = text.substr(i);
    switch (text[i]) {
      case '<': {
        bool replaced = false;
        for (const Rule& rule : kBreakRules) {
          if (rest.starts_with(rule.found)) {
            out += rule.replaced;
            i += rule.found.size();
            replaced = true;
            break;
          }
        }
        if (!replaced) {
          out += '<';
          ++i;
        }
        break;
      }
      case '&':
        if (rest.starts_with(kNbsp)) {
          i += kNbsp.size();
        } else {
          out += '&';
          ++i;
        }
        break;
      default:  // '>': it may close a "<hr>"
        out += '>';
        ++i;
        if (EndsWith(out, kRule)) {
          out.resize(out.size() - kRule.size());
          out += "\r\n\r\n";
          out += separator;
          out += "\r\n";
        }
        break;
    }
  }
  return out;
}

}  // namespace

std::string ConvertBaseName(std::string_view name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return {};
  return std::string(name.substr(0, dot));
}

std::string JoinedText(std::string_view bytes) {
  const size_t nul = bytes.find('\0');
  if (nul != std::string_view::npos) bytes = bytes.substr(0, nul);
  std::string joined(bytes.size(), '\0');
  char* out = joined.data();
  for (char c : bytes) {
    *out = c;
    out += (c != '\r' && c != '\n');  // no branch: line breaks are frequent in pages
  }
  joined.resize(static_cast<size_t>(out - joined.data()));
  return joined;
}

std::string HtmlToText(std::string_view joined, std::string_view separator) {
  return DelDoubBlank(DeleteTag(ReplaceMarkup(joined, separator)));
}

TextList CutToWidth(std::string_view text, int width) {
  if (width <= 0 || text.size() < static_cast<size_t>(width)) return {std::string(text)};
  const size_t step = static_cast<size_t>(width);
  TextList lines;
  lines.reserve(text.size() / step + 1);
  for (size_t at = 0; at < text.size(); at += step)
    lines.emplace_back(text.substr(at, step));
  return lines;
}

}  // namespace pagelathe
