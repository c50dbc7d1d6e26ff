// The links search over a folder tree: the folders (the root, then, when asked, every folder
// below it, depth first), in each the listed files whose extension is a document extension,
// read whole and searched once. Progress goes out through callbacks; a stop flag is tested
// between documents.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextList.h"
#include "tools/links/FolderWalk.h"
#include "tools/links/LinkExtract.h"

namespace pagelathe {

// ".txt", ".htm", ".html", ".shtm", ".shtml", ".php", in this order.
extern const char* const kDocumentExtensions[6];

// True when the extension of `name` (from its last "."), lower-cased, is a document extension.
// Example: "Index.HTML" is one, "notes.txt.bak" and "README" are not.
[[nodiscard]] bool IsDocumentFile(std::string_view name);

struct FolderSearchCallbacks {
  // A folder's files are about to be searched (the page shows the folder).
  std::function<void(const std::string& folder)> folder_started;
  // A document was searched: the percentage of the folder's list before it (100 * i / n) and
  // its name; its links (possibly none) and its bytes are handed over.
  std::function<void(int percent, const std::string& name, TextList&& links, std::string&& bytes)>
      document_searched;
};

struct FolderSearchResult {
  TextList folders;         // the folders visited, the root first
  FolderCounters counters;  // from the walk below the root
  bool stopped = false;
};

// Searches the documents of one folder: the names that `masks` lists there (as the file list
// shows them), those with a document extension, in list order. A document that cannot be read
// is skipped. Returns false when stopped.
bool SearchFolderFiles(const std::string& folder, std::string_view masks,
                       const LinkExtractor& extractor, const FolderSearchCallbacks& callbacks,
                       const std::atomic<bool>* stop = nullptr);

// The whole search from `root` into `result`: with `sub_dirs` the walk collects the folders
// below it first, so the counters are complete when the first folder starts.
void RunFolderSearch(const std::string& root, bool sub_dirs, std::string_view masks,
                     const LinkExtractor& extractor, const FolderSearchCallbacks& callbacks,
                     FolderSearchResult& result, const std::atomic<bool>* stop = nullptr);

}  // namespace pagelathe
