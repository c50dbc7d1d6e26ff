// Anchor targets and e-mail addresses pulled out of HTML or plain text.
#include <algorithm>

#include "platform/Letters.h"
#include "textlib/Dizerezez.h"
#include "textlib/TextScan.h"

namespace pagelathe {
namespace {

// Calls on_tag(value) for each tag that begins with `prefix`, where value is the text between
// the prefix and the first ">" after it, as if the tags were deleted one by one and the text
// searched again from the start each time: a tag deleted from between the two halves of a
// prefix lets them meet ("<a <a href=x>href=y>" holds two anchors). The kept text is a stack,
// so every byte is pushed and popped at most once. An unclosed tag ends the scan.
template <typename OnTag>
void ScanPrefixedTags(const std::string& text, std::string_view prefix, OnTag on_tag) {
  std::string kept;
  kept.reserve(std::min<std::size_t>(text.size(), 1 << 16));
  std::size_t i = 0;
  while (i < text.size()) {
    kept.push_back(text[i++]);
    if (kept.back() != prefix.back() || !kept.ends_with(prefix)) continue;
    const std::size_t close = textscan::FindChar(text, '>', i);
    if (close == std::string::npos) return;
    on_tag(std::string_view(text).substr(i, close - i));
    kept.resize(kept.size() - prefix.size());
    i = close + 1;
  }
}

// The tags of an HTML text made ready for the anchor scans: control characters and double
// quotes gone, lower case, the attributes of Arbits cut out.
std::string PreparedTags(const std::string& html) {
  std::string tags = DeleteSpam(CopyTag(html));
  std::erase(tags, '"');
  tags = LowerCase(tags);
  for (std::string_view row : Arbits)
    tags = textscan::ReplaceAll(std::move(tags), row, "");
  return tags;
}

bool IsAddressChar(char c) {
  return c == '-' || c == '.' || c == '@' || c == '_' || (c >= '0' && c <= '9') ||
         (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Longest piece of text an address is taken from.
constexpr std::size_t kAddressPiece = 255;

}  // namespace

TextList GetHtmllink(const std::string& html) {
  const std::string tags = DelDoubBlank(PreparedTags(html));
  TextList targets;
  ScanPrefixedTags(tags, "<a href=", [&](std::string_view value) {
    if (!value.empty() && std::string_view("@&?\\#+").find(value[0]) != std::string_view::npos)
      return;
    auto is_white = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    const auto first = std::find_if_not(value.begin(), value.end(), is_white);
    const auto last = std::find_if_not(value.rbegin(), value.rend(), is_white).base();
    std::string_view target = first < last ? std::string_view(first, last) : std::string_view();
    target = target.substr(0, target.find_first_of("# "));
    if (target.starts_with("javascript:") || target.starts_with("mailto:")) return;
    // Lower-cased again: cutting an attribute out of a text that is not UTF-8 may join bytes
    // into a capital letter ("\xC8" and "\x88" around "class=_copyright" make "Ȉ").
    targets.push_back(LowerCase(target));
  });
  return targets;
}

TextList GetHtmlMail(const std::string& html) {
  const std::string tags = DeleteBlank(PreparedTags(html));
  TextList targets;
  ScanPrefixedTags(tags,
                   "<ahref=mailto:", [&](std::string_view value) { targets.emplace_back(value); });
  return targets;
}

// Each "@" in turn, as if the earlier ones had been deleted: the address runs left from it over
// address characters (the deleted "@"s joined what stood around them), then right over address
// characters, all within 255 characters from its start. It counts when it has a name, a host,
// and a "." between the "@" and its last character.
TextList StrToMail(const std::string& text) {
  TextList addresses;
  const std::size_t n = text.size();
  std::string name;             // address characters left of the current "@", "@"s left out
  std::size_t name_length = 0;  // their count, which may pass the piece length
  std::size_t address_end = 0;  // first non-address character after the current "@"
  std::size_t next_dot = 0;     // first "." after the current "@"
  for (std::size_t i = 0; i < n; ++i) {
    const char c = text[i];
    if (c != '@') {
      if (!IsAddressChar(c)) {
        name.clear();
        name_length = 0;
      } else if (name_length++ < kAddressPiece) {
        name.push_back(c);
      }
      continue;
    }
    // A name of 255 characters or more fills the piece before the "@" is reached.
    if (name_length == 0 || name_length >= kAddressPiece) continue;
    address_end = std::max(address_end, i + 1);
    while (address_end < n && IsAddressChar(text[address_end]))
      ++address_end;
    const std::size_t piece_end = std::min(n, i + (kAddressPiece - name_length));
    const std::size_t last = std::min(address_end, piece_end) - 1;
    if (last == i) continue;  // nothing after the "@"
    next_dot = std::max(next_dot, i + 1);
    while (next_dot < n && text[next_dot] != '.')
      ++next_dot;
    if (next_dot >= last) continue;  // the last character itself does not count
    addresses.push_back(name + text.substr(i, last + 1 - i));
  }
  return addresses;
}

}  // namespace pagelathe
