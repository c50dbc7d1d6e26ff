// The folder walk, with an explicit stack of listings instead of recursion.
#include "platform/FolderWalk.h"

#include <dirent.h>
#include <sys/stat.h>

#include <vector>

namespace pagelathe {
namespace {

// Whether a listed entry is a folder (not a link to one).
bool IsFolder(const std::string& path, const FolderEntry& entry) {
  if (entry.type != DT_UNKNOWN) return entry.type == DT_DIR;
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

void CollectFolders(const std::string& folder, TextList& folder_list, FolderCounters& counters,
                    const std::atomic<bool>* stop, const FolderListed& listed) {
  struct Frame {
    std::string path;                  // with a final "/"
    std::vector<FolderEntry> folders;  // the folders inside, in listing order
    size_t next = 0;
  };
  // Lists one folder: counts its other entries, hands them on, keeps its folders.
  const auto list = [&](std::string path) {
    Frame frame{std::move(path), {}, 0};
    std::vector<FolderEntry> others;
    std::string inner = frame.path;
    for (FolderEntry& entry : ReadFolderEntries(frame.path)) {
      inner.resize(frame.path.size());
      inner += entry.name;
      if (IsFolder(inner, entry)) {
        frame.folders.push_back(std::move(entry));
      } else {
        ++counters.FileCount;
        others.push_back(std::move(entry));
      }
    }
    if (listed) listed(others);
    return frame;
  };
  std::vector<Frame> stack;
  stack.push_back(list(folder.empty() || folder.back() == '/' ? folder : folder + "/"));
  while (!stack.empty()) {
    if (stop && stop->load(std::memory_order_relaxed)) return;
    Frame& top = stack.back();
    if (top.next == top.folders.size()) {
      stack.pop_back();
      continue;
    }
    std::string path = top.path + top.folders[top.next++].name;
    ++counters.FolderCount;
    folder_list.push_back(path);
    path += '/';
    stack.push_back(list(std::move(path)));
  }
}

}  // namespace pagelathe
