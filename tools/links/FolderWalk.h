// The folder walk shared by the links search and the converter: every folder below a start
// folder, depth first, with counters of the folders and other entries met on the way.
#pragma once

#include <atomic>
#include <string>

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
void CollectFolders(const std::string& folder, TextList& folder_list, FolderCounters& counters,
                    const std::atomic<bool>* stop = nullptr);

}  // namespace pagelathe
