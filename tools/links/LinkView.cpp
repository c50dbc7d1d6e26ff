// Building, trimming and exporting the displayed link list.
#include "tools/links/LinkView.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/Letters.h"
#include "platform/Utf8.h"
#include "tools/converter/HtmlPage.h"
#include "tools/links/SubstringIndex.h"

namespace pagelathe {

std::string FormatLinkForView(std::string_view link, int view) {
  const std::string l(link);
  switch (static_cast<LinkView>(view)) {
    case LinkView::HtmlCode:
      return "<a href=\"" + l + "\">" + l + "</a>";
    case LinkView::BbCode:
      return "[url=" + l + "]" + l + "[/url]";
    case LinkView::Link:
      break;
  }
  return l;
}

TextList BuildLinkView(const LinkStore& found_links, const LinkViewOptions& options) {
  if (found_links.size() == 1) return {std::string(found_links.front())};
  TextList lines;
  SubstringIndex shown;
  const std::string_view protocol = options.protocol;
  const bool cut = options.no_http && options.link_type != LinkShape::Name && !protocol.empty();
  for (std::string_view link : found_links) {
    if (cut && link.starts_with(protocol)) link.remove_prefix(protocol.size());
    if (shown.AnyContains(link)) continue;
    if (link.empty() || link == protocol) continue;
    std::string line = FormatLinkForView(link, options.view);
    lines.push_back(line);
    shown.Add(std::move(line), link);
  }
  if (options.sort) SortShownBytes(lines);  // in the order of the shown (decoded) lines
  return lines;
}

void MarkEqualLines(const TextList& lines, const TextList& removed, std::vector<bool>& marks) {
  marks.resize(lines.size(), false);
  if (removed.empty()) return;
  // An open-addressed table of the removed lines' hashes, at most a quarter full: a line
  // whose hash is not there is kept at once; one whose hash is there is compared for real.
  size_t size = 16;
  while (size < 4 * removed.size())
    size *= 2;
  std::vector<uint64_t> table(size, 0);
  const auto hash_of = [](std::string_view text) {
    return std::hash<std::string_view>{}(text) | 1;  // 0 marks an empty slot
  };
  for (const std::string& line : removed) {
    const uint64_t hash = hash_of(line);
    size_t slot = hash & (size - 1);
    while (table[slot] != 0 && table[slot] != hash)
      slot = (slot + 1) & (size - 1);
    table[slot] = hash;
  }
  std::unordered_set<std::string_view> exact;  // built only when a hash matches
  for (size_t i = 0; i < lines.size(); ++i) {
    if (marks[i]) continue;
    const uint64_t hash = hash_of(lines[i]);
    size_t slot = hash & (size - 1);
    while (table[slot] != 0 && table[slot] != hash)
      slot = (slot + 1) & (size - 1);
    if (table[slot] == 0) continue;
    if (exact.empty()) exact.insert(removed.begin(), removed.end());
    if (exact.count(lines[i])) marks[i] = true;
  }
}

TextList RemoveLines(const TextList& lines, const TextList& removed) {
  std::vector<bool> marks;
  MarkEqualLines(lines, removed, marks);
  TextList kept;
  kept.reserve(lines.size());
  for (size_t i = 0; i < lines.size(); ++i)
    if (!marks[i]) kept.push_back(lines[i]);
  return kept;
}

std::string JoinForClipboard(const TextList& lines) {
  size_t total = 0;
  for (const std::string& line : lines)
    total += line.size() + 2;
  std::string text;
  text.reserve(total);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) text += "\r\n";
    if (IsValidUtf8(lines[i])) {
      text += lines[i];
    } else {
      text += DecodeText(lines[i]);
    }
  }
  return text;
}

TextList LinkListHtmlPage(const TextList& lines, const std::string& title) {
  TextList page = {
      "<HTML>",
      "<HEAD>",
      std::string(kCharsetLine1251),
      "<TITLE>" + title + "</TITLE>",
      "</HEAD>",
      "<BODY BGCOLOR=\"#FFFFFF\" TEXT=\"#000000\" LINK=\"#0000FF\" VLINK=\"#800080\">",
      "",
      "<h2 align=center>" + title + ":</h2>",
      "",
  };
  page.reserve(page.size() + lines.size() + 3);
  for (const std::string& bytes : lines) {
    const std::string line = IsValidUtf8(bytes) ? bytes : DecodeText(bytes);
    page.push_back("<br><a href=\"" + line + "\" target = \"_blank\">" + line + "</a>");
  }
  page.push_back("");
  page.push_back("</BODY>");
  page.push_back("</HTML>");
  return page;
}

std::string ReplaceExtension(std::string_view name, std::string_view extension) {
  const size_t slash = name.rfind('/');
  const size_t dot = name.rfind('.');
  if (dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash))
    name = name.substr(0, dot);
  return std::string(name) + std::string(extension);
}

}  // namespace pagelathe
