// What the link check window checks: the lines that the Links Grabber shows, turned back into
// the links they stand for, each with every place where it stands in the documents of the
// search that found it (the folder searched, the clicked file, the clipboard text or the
// fetched page), found again as that search found them.
#pragma once

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextList.h"
#include "tools/check/LinkSet.h"
#include "tools/links/LinkView.h"

namespace pagelathe {

// Where the shown links came from.
struct ShownLinksSource {
  enum class Kind { kNone, kFolder, kFile, kText, kPage };
  Kind kind = Kind::kNone;
  std::string name;           // the root folder, the file's path, the page's URL or a name
  bool sub_dirs = true;       // of a folder search
  std::string masks = "*.*";  // of a folder search: the file list's masks
};

struct ShownLinksRequest {
  TextList lines;        // as the list shows them
  LinkViewOptions view;  // the options the list was built with
  ShownLinksSource source;
  std::string text;  // the document of a text or a page source
  TextList exclusion_lines;
};

// The link that a shown line stands for: the line without the anchor or url tag of its view,
// with the protocol that "No http://" dropped put back, and without the line break a link at
// the end of a fetched page's line keeps. Example: with the view "BB code" and "No http://",
// "[url=host/a]host/a[/url]" gives "http://host/a".
[[nodiscard]] std::string LinkOfShownLine(std::string_view line, const LinkViewOptions& view);

// The links of the check: one per distinct link of the shown lines, in their order, with the
// places where each stands in the source's documents (none for a link they no longer hold).
// A link that the exclusion list now excludes, and every name of the link type "Name" (a file
// name is no link), come back checked and excluded. Messages naming documents that could not be
// read go to `skipped`. When `stop` is set it returns early with the places found so far.
[[nodiscard]] LinkSet CollectShownLinks(const ShownLinksRequest& request,
                                        std::vector<std::string>& skipped,
                                        const std::atomic<bool>* stop = nullptr);

// Copies the result of a check (state, code, final URL, message, chain ...) of `from` into
// `to`, leaving the link and its places.
void CopyCheckResult(const CheckedLink& from, CheckedLink& to);

}  // namespace pagelathe
