// The folder search: the walk, the file lists, and one read per document.
#include "tools/links/FolderSearch.h"

#include "platform/Errors.h"
#include "platform/FileIO.h"
#include "platform/FolderList.h"
#include "platform/Win1251.h"

namespace pagelathe {
namespace {

bool Stopped(const std::atomic<bool>* stop) {
  return stop && stop->load(std::memory_order_relaxed);
}

}  // namespace

const char* const kDocumentExtensions[6] = {".txt", ".htm", ".html", ".shtm", ".shtml", ".php"};

bool IsDocumentFile(std::string_view name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string extension = LowerCase(name.substr(dot));
  for (const char* known : kDocumentExtensions)
    if (extension == known) return true;
  return false;
}

bool SearchFolderFiles(const std::string& folder, std::string_view masks,
                       const LinkExtractor& extractor, const FolderSearchCallbacks& callbacks,
                       const std::atomic<bool>* stop) {
  const std::vector<std::string> names = ListFiles(folder, masks);
  const size_t n = names.size();
  for (size_t i = 0; i < n; ++i) {
    if (Stopped(stop)) return false;
    if (!IsDocumentFile(names[i])) continue;
    std::string bytes;
    try {
      bytes = ReadFileBytes(JoinPath(folder, names[i]));
    } catch (const EFileError&) {
      continue;  // removed or locked since the listing: the search goes on
    }
    TextList links;
    extractor.ExtractFileText(bytes, links);
    if (callbacks.document_searched)
      callbacks.document_searched(static_cast<int>(100 * i / n), names[i], std::move(links),
                                  std::move(bytes));
  }
  return !Stopped(stop);
}

void RunFolderSearch(const std::string& root, bool sub_dirs, std::string_view masks,
                     const LinkExtractor& extractor, const FolderSearchCallbacks& callbacks,
                     FolderSearchResult& result, const std::atomic<bool>* stop) {
  result = {};
  result.folders.push_back(root);
  if (sub_dirs) CollectFolders(root, result.folders, result.counters, stop);
  for (const std::string& folder : result.folders) {
    if (Stopped(stop)) break;
    if (callbacks.folder_started) callbacks.folder_started(folder);
    if (!SearchFolderFiles(folder, masks, extractor, callbacks, stop)) break;
  }
  result.stopped = Stopped(stop);
}

}  // namespace pagelathe
