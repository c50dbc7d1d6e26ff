// The shown links of the Links Grabber as the links of a check, with their places.
#include "tools/check/ShownLinks.h"

#include "platform/Errors.h"
#include "platform/FileRead.h"
#include "tools/check/LinkSources.h"

namespace pagelathe {
namespace {

// The link of a line that FormatLinkForView wrote as `prefix`, the link, `between`, the link
// again and `suffix`; the link holds no character of `between`'s first (it ends a link).
bool Unwrap(std::string_view line, std::string_view prefix, std::string_view between,
            std::string_view suffix, std::string_view& link) {
  if (!line.starts_with(prefix)) return false;
  const size_t end = line.find(between.front(), prefix.size());
  if (end == std::string_view::npos) return false;
  const std::string_view inside = line.substr(prefix.size(), end - prefix.size());
  std::string_view rest = line.substr(end);
  if (!rest.starts_with(between)) return false;
  rest.remove_prefix(between.size());
  if (!rest.starts_with(inside) || rest.substr(inside.size()) != suffix) return false;
  link = inside;
  return true;
}

}  // namespace

std::string LinkOfShownLine(std::string_view line, const LinkViewOptions& view) {
  std::string_view link = line;
  // The link and its address are the same text; a line of another shape (the single found
  // link, shown as found) is the link itself.
  if (view.view == static_cast<int>(LinkView::HtmlCode)) {
    Unwrap(line, "<a href=\"", "\">", "</a>", link);
  } else if (view.view == static_cast<int>(LinkView::BbCode)) {
    Unwrap(line, "[url=", "]", "[/url]", link);
  }
  while (!link.empty() && (link.back() == '\r' || link.back() == ' ' || link.back() == '\t'))
    link.remove_suffix(1);
  const bool cut = view.no_http && view.link_type != LinkShape::Name && !view.protocol.empty();
  std::string out;
  if (cut && !link.empty() && !link.starts_with(view.protocol)) out = view.protocol;
  out.append(link);
  return out;
}

void CopyCheckResult(const CheckedLink& from, CheckedLink& to) {
  to.checked = from.checked;
  to.state = from.state;
  to.code = from.code;
  to.final_url = from.final_url;
  to.message = from.message;
  to.chain = from.chain;
  to.permanent = from.permanent;
  to.cached = from.cached;
}

LinkSet CollectShownLinks(const ShownLinksRequest& request, std::vector<std::string>& skipped,
                          const std::atomic<bool>* stop) {
  const LinkViewOptions& view = request.view;
  const ShownLinksSource& source = request.source;
  // The documents searched again, as the search found the links (only the links themselves:
  // the list shows no relative ones).
  LinkSet found;
  if (!view.protocol.empty() && view.link_type != LinkShape::None) {
    SourceOptions options;
    options.protocols = {view.protocol};
    options.shape = view.link_type;
    options.exclusion_lines = request.exclusion_lines;
    options.sub_dirs = source.sub_dirs;
    options.masks = source.masks;
    options.relative_links = false;
    LinkCollector collector(std::move(options), found);
    switch (source.kind) {
      case ShownLinksSource::Kind::kFolder:
        collector.AddFolder(source.name, skipped, stop);
        break;
      case ShownLinksSource::Kind::kFile:
        try {
          collector.AddFile(source.name, ReadUserFile(source.name));
        } catch (const EFileError& error) {
          skipped.push_back(error.what());
        }
        break;
      case ShownLinksSource::Kind::kText:
      case ShownLinksSource::Kind::kPage:
        collector.AddText(source.name, request.text, "");
        break;
      case ShownLinksSource::Kind::kNone:
        break;
    }
  }

  LinkSet links;
  for (const std::string& line : request.lines) {
    const std::string url = LinkOfShownLine(line, view);
    if (url.empty()) continue;
    const size_t before = links.size();
    CheckedLink& link = links[links.Add(url, {})];
    if (links.size() == before) continue;  // two lines for one link (a line break cut off)
    link.places.clear();
    if (const size_t at = found.Find(url); at < found.size()) {
      CheckedLink& there = found[at];
      link.places = std::move(there.places);
      if (there.checked) CopyCheckResult(there, link);  // excluded
    }
    if (view.link_type == LinkShape::Name) {
      link.checked = true;
      link.state = LinkState::kExcluded;
      link.message = "a file name, not a link";
    }
  }
  return links;
}

}  // namespace pagelathe
