// The links of documents with their places, and the resolution of relative links.
#include "tools/check/LinkSources.h"

#include <filesystem>

#include "platform/Letters.h"
#include "tools/check/HtmlScan.h"
#include "tools/links/FolderSearch.h"
#include "tools/links/LinkExtract.h"

namespace pagelathe {
namespace {

// The scheme of a URL ("http" of "http://h/"), or empty when it has none.
std::string_view SchemeOf(std::string_view url) {
  for (size_t i = 0; i < url.size(); ++i) {
    const char c = url[i];
    if (c == ':') return i > 0 ? url.substr(0, i) : std::string_view();
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!letter && (i == 0 || !((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.')))
      return {};
  }
  return {};
}

// RFC 3986 remove_dot_segments on a path that starts with "/": "../" above the root is
// dropped, as ConcatLink does. Linear: the output is a stack of segments.
std::string RemoveDots(std::string_view path) {
  std::vector<std::string_view> segments;
  size_t at = 1;
  bool ends_with_slash = false;
  while (at <= path.size()) {
    size_t slash = path.find('/', at);
    if (slash == std::string_view::npos) slash = path.size();
    const std::string_view segment = path.substr(at, slash - at);
    const bool last = slash == path.size();
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
      ends_with_slash = true;
    } else if (segment == ".") {
      ends_with_slash = true;
    } else {
      segments.push_back(segment);
      ends_with_slash = false;
    }
    if (last) break;
    at = slash + 1;
  }
  std::string out;
  for (const std::string_view segment : segments)
    out.append("/").append(segment);
  if (ends_with_slash || out.empty()) out += '/';
  return out;
}

std::string PercentDecoded(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  const auto hex = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && hex(text[i + 1]) >= 0 && hex(text[i + 2]) >= 0) {
      out += static_cast<char>(hex(text[i + 1]) * 16 + hex(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// Lines of a document as the text lists split them: CR LF, CR or LF; a NUL byte ends it.
template <typename Visit>
void ForEachLine(std::string_view bytes, Visit visit) {
  bytes = bytes.substr(0, bytes.find('\0'));
  int line = 1;
  size_t at = 0;
  while (at < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", at);
    if (end == std::string_view::npos) end = bytes.size();
    visit(bytes.substr(at, end - at), line++);
    if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() &&
        bytes[end + 1] == '\n')
      ++end;
    at = end + 1;
  }
}

}  // namespace

std::string ResolveLink(std::string_view link, std::string_view base) {
  if (link.empty()) return {};
  const std::string scheme = AsciiLowerCase(SchemeOf(link));
  if (!scheme.empty()) {
    if (scheme == "http" || scheme == "https" || scheme == "file") return std::string(link);
    return {};  // mailto:, javascript:, data:, tel: ... name no page to check
  }
  const std::string_view base_scheme = SchemeOf(base);
  // The parts of the base: "scheme:" "//authority" path (without its query and fragment).
  size_t path_at = base_scheme.empty() ? 0 : base_scheme.size() + 1;
  if (base.substr(path_at).starts_with("//")) {
    path_at = base.find_first_of("/?#", path_at + 2);
    if (path_at == std::string_view::npos) path_at = base.size();
  }
  const std::string_view prefix = base.substr(0, path_at);
  std::string_view base_path = base.substr(path_at);
  base_path = base_path.substr(0, base_path.find_first_of("?#"));
  if (base_path.empty()) base_path = "/";

  if (link.starts_with("//"))
    return std::string(base_scheme.empty() ? "" : std::string(base_scheme) + ":") +
           std::string(link);
  const size_t suffix_at = link.find_first_of("?#");
  const std::string_view path = link.substr(0, suffix_at);
  const std::string_view suffix =
      suffix_at == std::string_view::npos ? std::string_view() : link.substr(suffix_at);
  std::string merged;
  if (path.empty()) {
    // "#top" and "?q" stand for the document itself.
    if (suffix.starts_with("#")) {
      const size_t query_end = base.find('#');
      return std::string(base.substr(0, query_end)) + std::string(suffix);
    }
    merged = std::string(base_path);
  } else if (path.starts_with("/")) {
    merged = RemoveDots(path);
  } else {
    merged =
        RemoveDots(std::string(base_path.substr(0, base_path.rfind('/') + 1)) + std::string(path));
  }
  return std::string(prefix) + merged + std::string(suffix);
}

LinkCollector::LinkCollector(SourceOptions options, LinkSet& links)
    : options_(std::move(options)), links_(links) {}

bool LinkCollector::AddFolder(const std::string& root, std::vector<std::string>& skipped,
                              const std::atomic<bool>* stop) {
  // The folder search finds the documents; their bytes are searched here, line by line.
  const LinkExtractor none("", LinkShape::None, {});
  std::error_code ignored;
  const std::string absolute_root = std::filesystem::absolute(root, ignored).string();
  std::string folder = root;
  FolderSearchCallbacks callbacks;
  callbacks.folder_started = [&](const std::string& name) { folder = name; };
  callbacks.document_searched = [&](int, const std::string& name, const LinkStore&,
                                    DocumentBuffer& document) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/') path += '/';
    path += name;
    AddDocument(path, document.View(), "", absolute_root);
  };
  callbacks.document_skipped = [&](const std::string&, const std::string& message) {
    skipped.push_back(message);
  };
  FolderSearchResult result;
  RunFolderSearch(root, options_.sub_dirs, options_.masks, none, callbacks, result, stop);
  return !result.stopped;
}

void LinkCollector::AddFile(const std::string& path, std::string_view bytes) {
  std::error_code ignored;
  const std::string folder =
      std::filesystem::absolute(std::filesystem::path(path).parent_path(), ignored).string();
  AddDocument(path, bytes, "", folder);
}

void LinkCollector::AddText(const std::string& name, std::string_view bytes,
                            const std::string& base_url) {
  AddDocument(name, bytes, base_url, "");
}

void LinkCollector::AddDocument(const std::string& name, std::string_view bytes,
                                const std::string& base, const std::string& site_root) {
  if (exclusion_texts_.empty()) {
    for (const std::string& protocol : options_.protocols) {
      std::string joined;
      for (const std::string& line : options_.exclusion_lines) {
        const std::string text = ExclusionText(line, protocol);
        if (!text.empty()) joined.append(text).append(1, '\0');
      }
      exclusion_texts_.push_back(joined);
    }
  }
  const DocumentName document(name);  // one name for every place in the document
  // The links of the protocols, each line by itself so that each keeps its line.
  std::vector<LinkExtractor> extractors;
  for (const std::string& protocol : options_.protocols)
    extractors.emplace_back(protocol, options_.shape, TextList{});
  LinkStore found;
  ForEachLine(bytes, [&](std::string_view line, int number) {
    for (size_t p = 0; p < extractors.size(); ++p) {
      found.clear();
      extractors[p].ExtractFileText(line, found);
      const std::string_view exclusions = exclusion_texts_[p];
      for (const std::string_view link : found) {
        const size_t index = links_.Add(link, {document, number});
        CheckedLink& checked = links_[index];
        if (checked.checked || checked.places.size() > 1) continue;
        for (size_t at = 0; at < exclusions.size();) {
          const size_t end = exclusions.find('\0', at);
          if (link.find(exclusions.substr(at, end - at)) != std::string_view::npos) {
            checked.checked = true;
            checked.state = LinkState::kExcluded;
            checked.message = "matches the exclusion list";
            break;
          }
          at = end + 1;
        }
      }
    }
  });
  if (!options_.relative_links || !LooksLikeHtml(name, bytes)) return;
  const bool is_file = base.empty();
  if (is_file && site_root.empty()) return;
  std::error_code ignored;
  const std::string document_url =
      is_file ? "file://" + std::filesystem::absolute(name, ignored).string() : base;
  if (!is_file && base.empty()) return;
  const HtmlLinks html = ScanHtmlLinks(bytes);
  std::string resolve_against = document_url;
  if (!html.base.empty()) {
    const std::string resolved = ResolveLink(html.base, document_url);
    if (!resolved.empty()) resolve_against = resolved;
  }
  for (const HtmlLinks::Link& link : html.links) {
    if (link.value.empty() || !SchemeOf(link.value).empty()) continue;  // found above
    if (link.value == "#") continue;  // "to the top": no anchor to look for
    std::string resolved;
    if (link.value.starts_with("/") && !link.value.starts_with("//") && is_file &&
        resolve_against.starts_with("file://")) {
      // From the root of the site: the folder searched, or the document's own folder.
      resolved = ResolveLink("." + link.value, "file://" + site_root + "/");
    } else {
      resolved = ResolveLink(link.value, resolve_against);
    }
    if (resolved.empty()) continue;
    std::string target, fragment;
    SplitFragment(resolved, target, fragment);
    const bool local = resolved.starts_with("file://") && is_file;
    // A file link on a web page keeps its URL as the target: it is reported, never opened.
    if (local && is_file) target = PercentDecoded(target.substr(7, target.find('?') - 7));
    links_.AddResolved(link.value, target, PercentDecoded(fragment), local, {document, link.line});
  }
}

}  // namespace pagelathe
