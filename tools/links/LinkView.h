// The displayed link list: built from the found links with the repeat filter, the optional
// removal of the protocol, one of three views and an optional sort; and what the user does
// with it: remove lines, copy it, save it as text or as a small HTML page.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/LinkStore.h"
#include "platform/TextList.h"
#include "tools/links/LinkShape.h"

namespace pagelathe {

// The views of the view option group, by index.
enum class LinkView { Link = 0, HtmlCode = 1, BbCode = 2 };

struct LinkViewOptions {
  bool sort = true;                        // "Sort links"
  bool no_http = false;                    // "No http://"
  LinkShape link_type = LinkShape::Domen;  // names are never cut
  int view = 0;                            // index of the view option group
  std::string protocol;  // the search type's text: cut by "No http://", a bare one is skipped
  bool operator==(const LinkViewOptions&) const = default;
};

// One shown line: the link, an HTML anchor or a BB-code url tag (any other view: the link).
// Example: view 2 gives "[url=L]L[/url]".
[[nodiscard]] std::string FormatLinkForView(std::string_view link, int view);

// The displayed lines. A single found link is shown exactly as found. Otherwise, in order:
// "No http://" drops the protocol from the start of a link that begins with it (never for
// names); a link that any line already shown contains is skipped; an empty link and a bare
// protocol are skipped; the rest is formatted. Sorting orders the lines without regard to
// letter case (platform/Letters.h) as the lines are shown, decoded by the rule of
// platform/Utf8.h, lines equal in that order keeping the order in which they were added. No two
// lines are equal (an equal link is contained in the line shown for the first).
// Example: {"http://a/b", "http://a"} gives {"http://a/b"}; the reverse order gives both.
[[nodiscard]] TextList BuildLinkView(const LinkStore& found_links, const LinkViewOptions& options);

// `lines` without every line equal to one of `removed`, in order.
[[nodiscard]] TextList RemoveLines(const TextList& lines, const TextList& removed);

// Sets marks[i] (resized to the lines) for every line equal to one of `removed`, leaving the
// other marks as they were. Linear: a table of hashes turns most lines away without
// comparing a text. Example: ({"a", "b", "a"}, {"a"}) marks rows 0 and 2.
void MarkEqualLines(const TextList& lines, const TextList& removed, std::vector<bool>& marks);

// The lines as the clipboard takes them, a UTF-8 text: each line decoded on its own by the
// rule of platform/Utf8.h (a document's bytes), joined with CR LF between two lines and nothing
// after the last. Example: {"a", "\xCF\xF0\xE8"} gives "a\r\nПри".
[[nodiscard]] std::string JoinForClipboard(const TextList& lines);

// The lines of the saved HTML page of the list, titled and headed by `title`, as UTF-8 texts:
// a line of a document's bytes is decoded by the rule of platform/Utf8.h. The page carries the
// template's content-type line; write it with HtmlPageBytes (tools/converter/HtmlPage.h), which
// makes the line say the charset the bytes are in.
[[nodiscard]] TextList LinkListHtmlPage(const TextList& lines, const std::string& title);

// `name` with the extension of its last path part (from its last "." on) replaced by
// `extension`, or `extension` appended when it has none. Example: ("links.txt", ".htm").
[[nodiscard]] std::string ReplaceExtension(std::string_view name, std::string_view extension);

}  // namespace pagelathe
