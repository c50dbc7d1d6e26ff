// Where the links of a check come from: the documents of folders (as the links search reads
// them), single files, standard input or a fetched page. In every document the links of the
// chosen protocols are found as the Links Grabber finds them (tools/links); in HTML documents
// the relative links of href and src attributes are taken too, resolved against the document
// or its <base>: against a file they are files (a folder meaning its index file), against a
// page's URL they are URLs. Every link keeps the document and line of each place it stands.
#pragma once

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextList.h"
#include "tools/check/LinkSet.h"
#include "tools/links/LinkShape.h"

namespace pagelathe {

struct SourceOptions {
  std::vector<std::string> protocols = {"http://", "https://"};
  LinkShape shape = LinkShape::FullLink;
  TextList exclusion_lines;  // as the Links Grabber's exclusion list
  bool sub_dirs = true;
  std::string masks = "*.*";
  bool relative_links = true;  // the href/src links of HTML documents
};

class LinkCollector {
 public:
  LinkCollector(SourceOptions options, LinkSet& links);

  // The documents of a folder (and its sub-folders), as the Search button reads them.
  // Messages naming documents that could not be read go to `skipped`. False when stopped.
  bool AddFolder(const std::string& root, std::vector<std::string>& skipped,
                 const std::atomic<bool>* stop = nullptr);
  // One document of the disk whose bytes are `bytes` (its relative links are files).
  void AddFile(const std::string& path, std::string_view bytes);
  // A document that is no file: standard input ("-") or a page fetched from `base_url` (its
  // relative links resolve against it; without a base URL they are not taken).
  void AddText(const std::string& name, std::string_view bytes, const std::string& base_url);

 private:
  void AddDocument(const std::string& name, std::string_view bytes, const std::string& base,
                   const std::string& site_root);
  SourceOptions options_;
  LinkSet& links_;
  std::vector<std::string> exclusion_texts_;  // per protocol, in the order of the protocols
};

// Resolves `link` (as written in an href) against `base` (an absolute URL, or a file path
// starting with "/"): RFC 3986 resolution, "../" above the root dropped (as ConcatLink does),
// "/" from the root of the URL's host, or of the file system for a file. The fragment is
// kept. Returns an empty text for links that name no resource (empty, "#frag" alone is the
// document itself and kept; "javascript:", "mailto:", "data:", "tel:" and the like give "").
// Example: ("../c.html#x", "http://h/a/b.html") gives "http://h/c.html#x".
[[nodiscard]] std::string ResolveLink(std::string_view link, std::string_view base);

}  // namespace pagelathe
