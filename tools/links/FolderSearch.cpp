// The folder search: the walk, then the documents as the reader hands them over.
#include "tools/links/FolderSearch.h"

#include <new>
#include <utility>

#include "platform/FileIO.h"

namespace pagelathe {
namespace {

bool Stopped(const std::atomic<bool>* stop) {
  return stop && stop->load(std::memory_order_relaxed);
}

// Searches the documents of `folders` in order. Returns false when stopped.
bool SearchFolders(const TextList& folders, FolderTree tree, std::string_view masks,
                   const LinkExtractor& extractor, const FolderSearchCallbacks& callbacks,
                   const std::atomic<bool>* stop) {
  DocumentReader reader(folders, std::move(tree), std::string(masks), stop);
  DocumentReader::Item item;
  LinkStore links;
  while (reader.Next(item)) {
    if (item.folder_start) {
      if (callbacks.folder_started) callbacks.folder_started(folders[item.folder]);
      continue;
    }
    std::string failure = std::move(item.failure);
    if (failure.empty()) {
      try {
        links.clear();
        extractor.ExtractFileText(item.document.View(), links);
        if (callbacks.document_searched)
          callbacks.document_searched(item.percent, item.name, links, item.document);
      } catch (const std::bad_alloc&) {
        links = LinkStore();  // gives the memory back for the next document
        failure = "Cannot search file \"";
        failure.append(JoinPath(folders[item.folder], item.name)).append("\". Not enough memory.");
      }
    }
    if (!failure.empty() && callbacks.document_skipped)
      callbacks.document_skipped(item.name, failure);
  }
  return !Stopped(stop);
}

}  // namespace

bool SearchFolderFiles(const std::string& folder, std::string_view masks,
                       const LinkExtractor& extractor, const FolderSearchCallbacks& callbacks,
                       const std::atomic<bool>* stop) {
  FolderSearchCallbacks documents_only = callbacks;
  documents_only.folder_started = nullptr;
  return SearchFolders({folder}, SingleFolderTree(folder), masks, extractor, documents_only, stop);
}

void RunFolderSearch(const std::string& root, bool sub_dirs, std::string_view masks,
                     const LinkExtractor& extractor, const FolderSearchCallbacks& callbacks,
                     FolderSearchResult& result, const std::atomic<bool>* stop) {
  result = {};
  result.folders.push_back(root);
  // The walk lists every folder once; the search filters those listings instead of listing
  // the folders again.
  FolderTree tree = sub_dirs ? WalkFolders(root, result.folders, result.counters, stop, true)
                             : SingleFolderTree(root);
  if (!Stopped(stop))
    SearchFolders(result.folders, std::move(tree), masks, extractor, callbacks, stop);
  result.stopped = Stopped(stop);
}

}  // namespace pagelathe
