// The folder walk shared by the links search and the converter: every folder below a start
// folder, depth first, with counters of the folders and other entries met on the way.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "platform/FolderList.h"
#include "platform/TextList.h"

namespace pagelathe {

struct FolderCounters {
  int FolderCount = 0;  // folders met
  int FileCount = 0;    // other entries met (files, links, devices ...)
};

// Appends to `folder_list` every folder below `folder` ("/" added to it when missing), at any
// depth, depth first: a folder comes right before the folders inside it. Entries are taken in
// the order the file system gives them, hidden ones included; the start folder itself is never
// added; a folder that cannot be listed adds nothing. Symbolic links are counted as files and
// never followed, so a link cycle cannot trap the walk; no recursion, so depth is no limit.
// The walk ends early when `stop` is set.
// Example: a/ holding x/ (holding y/) and z.txt appends "a/x", "a/x/y" and counts 2 and 1.
//
// `listed`, when set, is called for every folder the walk lists, `folder` first and then in
// the order of `folder_list`, with the entries of that folder that are not folders (in listing
// order; empty for a folder that cannot be listed); it may take them. So a search that goes
// through the folders afterwards need not list them again.
using FolderListed = std::function<void(std::vector<FolderEntry>& other_entries)>;
void CollectFolders(const std::string& folder, TextList& folder_list, FolderCounters& counters,
                    const std::atomic<bool>* stop = nullptr, const FolderListed& listed = {});

}  // namespace pagelathe
