// The folder walk, with an explicit stack of open listings instead of recursion.
#include "tools/links/FolderWalk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <vector>

namespace pagelathe {
namespace {

struct Entry {
  std::string name;
  bool is_folder = false;
};

std::vector<Entry> ListEntries(const std::string& folder) {
  std::vector<Entry> entries;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return entries;
  const int dir_fd = ::dirfd(dir);
  while (const dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    bool is_folder = e->d_type == DT_DIR;
    if (e->d_type == DT_UNKNOWN) {
      struct stat info {};
      is_folder =
          ::fstatat(dir_fd, e->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
    }
    entries.push_back({name, is_folder});
  }
  ::closedir(dir);
  return entries;
}

}  // namespace

void CollectFolders(const std::string& folder, TextList& folder_list, FolderCounters& counters,
                    const std::atomic<bool>* stop) {
  struct Frame {
    std::string path;  // with a final "/"
    std::vector<Entry> entries;
    size_t next = 0;
  };
  std::vector<Frame> stack;
  const std::string start = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  stack.push_back({start, ListEntries(start), 0});
  while (!stack.empty()) {
    if (stop && stop->load(std::memory_order_relaxed)) return;
    Frame& top = stack.back();
    if (top.next == top.entries.size()) {
      stack.pop_back();
      continue;
    }
    const Entry& entry = top.entries[top.next++];
    if (!entry.is_folder) {
      ++counters.FileCount;
      continue;
    }
    ++counters.FolderCount;
    std::string path = top.path + entry.name;
    folder_list.push_back(path);
    path += '/';
    std::vector<Entry> inner = ListEntries(path);
    stack.push_back({std::move(path), std::move(inner), 0});
  }
}

}  // namespace pagelathe
