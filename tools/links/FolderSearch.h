// The links search over a folder tree: the folders (the root, then, when asked, every folder
// below it, depth first), in each the listed files whose extension is a document extension,
// read whole (see DocumentReader) and searched once. Progress goes out through callbacks; a
// stop flag is tested between documents.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <string_view>

#include "platform/FolderWalk.h"
#include "platform/TextList.h"
#include "tools/links/DocumentReader.h"
#include "tools/links/LinkExtract.h"

namespace pagelathe {

struct FolderSearchCallbacks {
  // A folder's files are about to be searched (the page shows the folder).
  std::function<void(const std::string& folder)> folder_started;
  // A document was searched: the percentage of the folder's list before it (100 * i / n), its
  // name and its links (possibly none; the store is reused for the next document). `document`
  // holds its bytes; the callback may take them by swapping the buffer with one of its own,
  // which the search then reads into next.
  std::function<void(int percent, const std::string& name, const LinkStore& links,
                     DocumentBuffer& document)>
      document_searched;
  // A document could not be read or held (see DocumentReader::Item), or memory ran out while
  // it was searched: its name and a message that names its path and says why; or a folder
  // could not be opened or read: its path and the message. The search goes on with the next
  // document or folder; links of that document are not reported.
  std::function<void(const std::string& name, const std::string& message)> document_skipped;
};

struct FolderSearchResult {
  TextList folders;         // the folders visited, the root first
  FolderCounters counters;  // from the walk below the root
  bool stopped = false;
};

// Searches the documents of one folder: the names that `masks` lists there (as the file list
// shows them), those with a document extension, in list order. A document that cannot be read
// or held, or the folder itself, is skipped and reported. Returns false when stopped.
bool SearchFolderFiles(const std::string& folder, std::string_view masks,
                       const LinkExtractor& extractor, const FolderSearchCallbacks& callbacks,
                       const std::atomic<bool>* stop = nullptr);

// The whole search from `root` into `result`: with `sub_dirs` the walk collects the folders
// below it first, so the counters are complete when the first folder starts.
void RunFolderSearch(const std::string& root, bool sub_dirs, std::string_view masks,
                     const LinkExtractor& extractor, const FolderSearchCallbacks& callbacks,
                     FolderSearchResult& result, const std::atomic<bool>* stop = nullptr);

}  // namespace pagelathe
