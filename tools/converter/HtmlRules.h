// The markup replacements of the HTML-to-text conversion, in the order they are applied: one
// table for the whole-text converter and the streamed one, so that the two cannot drift.
#pragma once

#include <array>
#include <string_view>

namespace pagelathe::html_rules {

struct Rule {
  std::string_view found;
  std::string_view replaced;
};

// Steps 1 to 7: the tags that make line breaks ("<hr>" is handled apart: it may appear only
// once an "&nbsp;" inside it has gone).
inline constexpr std::array<Rule, 7> kBreakRules = {{
    {"<p>", "\r\n\r\n"},
    {"<P>", "\r\n\r\n"},
    {"<br>", "\r\n"},
    {"<BR>", "\r\n"},
    {"<ol>", "\r\n"},
    {"<ul>", "\r\n"},
    {"<li>", "\r\n * "},
}};

inline constexpr std::string_view kNbsp = "&nbsp;";  // step 8: deleted
inline constexpr std::string_view kRule = "<hr>";    // step 9

// The bytes that end a run copied as it stands: every pattern begins with one of them, and
// ">" ends a tag.
constexpr std::array<bool, 256> MakeSpecial() {
  std::array<bool, 256> special{};
  special[static_cast<unsigned char>('<')] = true;
  special[static_cast<unsigned char>('&')] = true;
  special[static_cast<unsigned char>('>')] = true;
  return special;
}
inline constexpr std::array<bool, 256> kSpecial = MakeSpecial();

}  // namespace pagelathe::html_rules
