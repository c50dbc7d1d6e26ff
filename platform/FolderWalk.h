// The folder walk shared by the links search and the converter: every folder below a start
// folder, depth first, with counters of the folders and other entries met on the way, and the
// tree that lets a search go through the same folders afterwards, each opened relative to the
// folder it is in (FolderOpener), so that no path is ever too long to open.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "platform/FolderChain.h"
#include "platform/FolderList.h"
#include "platform/TextList.h"

namespace pagelathe {

struct FolderCounters {
  int FolderCount = 0;  // folders met
  int FileCount = 0;    // other entries met (files, links, devices ...)
};

// One folder of a walk: the folder it is in and its name there.
struct FolderPlace {
  static constexpr size_t kNoParent = static_cast<size_t>(-1);
  size_t parent = kNoParent;  // its index in the tree; none for a folder opened by its path
  std::string name;           // without a parent: its path as given
  int error = 0;              // errno of a folder the walk could not open or read
  bool opened = false;        // with an error: it was opened, and reading its entries failed
};

// What a walk found. places[0] is the start folder; places[k] is the k-th folder the walk
// appended to the folder list. listings, when kept (else empty), are parallel to places: the
// entries of each folder that are not folders, in listing order (none for a folder that
// failed).
struct FolderTree {
  std::vector<FolderPlace> places;
  std::vector<std::vector<FolderEntry>> listings;
};

// The tree of the start folder alone, for a search without sub-folders.
[[nodiscard]] FolderTree SingleFolderTree(const std::string& folder);
// Folders that are no walk's, each opened by its own path.
[[nodiscard]] FolderTree FoldersByPath(const TextList& folders);

// The message that names a folder that could not be opened (or, once opened, read), by its
// path. Examples:
//   Cannot open folder "/site/private". Permission denied
//   Cannot read folder "/site/bad". Input/output error
[[nodiscard]] std::string FolderFailureMessage(const std::string& path, int error, bool opened);

// Appends to `folder_list` every folder below `folder` ("/" added to it when missing), at any
// depth, depth first: a folder comes right before the folders inside it. Entries are taken in
// the order the file system gives them, hidden ones included; the start folder itself is never
// added. A folder that cannot be opened or read adds nothing below it and keeps its error in
// the tree. Symbolic links are counted as files and never followed, so a link cycle cannot
// trap the walk; no recursion and no path longer than a name is opened, so depth is no limit.
// The walk ends early when `stop` is set. With `keep_listings` the tree keeps each folder's
// other entries, so that a search through the folders afterwards need not list them again.
// Example: a/ holding x/ (holding y/) and z.txt appends "a/x", "a/x/y" and counts 2 and 1.
FolderTree WalkFolders(const std::string& folder, TextList& folder_list, FolderCounters& counters,
                       const std::atomic<bool>* stop = nullptr, bool keep_listings = false);

// The walk for callers that need only the list and the counters.
void CollectFolders(const std::string& folder, TextList& folder_list, FolderCounters& counters,
                    const std::atomic<bool>* stop = nullptr);

// Opens the folders of a tree one after the other, in the tree's order (each after the folder
// it is in), each relative to the folder it is in: one open a folder, however deep. The start
// folder, places[0], is `start` (the tree's own, or another one whose folders mirror the
// tree's, as the result folder of a batch does with FolderChain::Mode::kCreate).
class FolderOpener {
 public:
  FolderOpener(const FolderTree& tree, std::string start,
               FolderChain::Mode mode = FolderChain::Mode::kNoLinks);

  // The descriptor of folder `index` (valid until the next call), or -1 with errno set. A
  // folder inside one that could not be opened gives -1 with errno 0: it was told already.
  int Open(size_t index);

 private:
  const FolderTree& tree_;
  std::string start_;
  FolderChain chain_;
  std::vector<size_t> chain_places_;  // the tree index of each folder of the chain
  std::vector<size_t> level_of_;      // the chain level of each place, or npos
  std::vector<bool> failed_;          // places that could not be opened
  std::vector<size_t> pending_;       // scratch: the places to enter
};

}  // namespace pagelathe
