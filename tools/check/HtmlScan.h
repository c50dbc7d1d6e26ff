// A small scanner of HTML for what the link check needs: the values of the href and src
// attributes (with the line each stands on), the <base href> and the id and name anchors. It
// reads any bytes without failing, in one pass: comments, <script> and <style> bodies are
// skipped, attribute values may be quoted with " or ' or not at all, character references
// in values are decoded (&amp; &lt; &gt; &quot; &apos; &#N; &#xN;).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pagelathe {

struct HtmlAttribute {
  std::string_view tag;   // lower-cased name of the element ("a", "img")
  std::string_view name;  // lower-cased attribute name
  std::string value;      // decoded value
  int line = 1;           // the line where the attribute's value starts, from 1
};

// Calls `visit` for every attribute of every start tag, in document order. Tag and attribute
// names are lower-cased (in a buffer valid during the call).
void ScanHtmlAttributes(std::string_view html,
                        const std::function<void(const HtmlAttribute& attribute)>& visit);

// The links of a document: the href and src values (without blanks around them), the
// <base href> if any, and the anchors (id and name values; name only on <a>).
struct HtmlLinks {
  struct Link {
    std::string value;
    int line = 1;
  };
  std::vector<Link> links;
  std::string base;
};
[[nodiscard]] HtmlLinks ScanHtmlLinks(std::string_view html);

// The id and name anchors of a document, sorted and distinct.
[[nodiscard]] std::vector<std::string> ScanHtmlAnchors(std::string_view html);

// True when the text looks like HTML: its name ends in .htm, .html, .shtm, .shtml, .php, or
// (for a text without such a name) a "<" followed by a letter, "!" or "/" occurs in its
// first 4 KiB.
[[nodiscard]] bool LooksLikeHtml(std::string_view name, std::string_view bytes);

}  // namespace pagelathe
