// The folder walk, with an explicit stack of listings instead of recursion and a chain of open
// folders instead of paths, and the opener that goes through its tree again.
#include "platform/FolderWalk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace pagelathe {
namespace {

constexpr size_t kNowhere = static_cast<size_t>(-1);

bool Stopped(const std::atomic<bool>* stop) {
  return stop && stop->load(std::memory_order_relaxed);
}

}  // namespace

FolderTree SingleFolderTree(const std::string& folder) {
  FolderTree tree;
  tree.places.push_back({FolderPlace::kNoParent, folder});
  return tree;
}

FolderTree FoldersByPath(const TextList& folders) {
  FolderTree tree;
  for (const std::string& folder : folders)
    tree.places.push_back({FolderPlace::kNoParent, folder});
  return tree;
}

std::string FolderFailureMessage(const std::string& path, int error, bool opened) {
  return std::string(opened ? "Cannot read" : "Cannot open") + " folder \"" + path + "\". " +
         std::strerror(error);
}

FolderTree WalkFolders(const std::string& folder, TextList& folder_list, FolderCounters& counters,
                       const std::atomic<bool>* stop, bool keep_listings) {
  FolderTree tree = SingleFolderTree(folder);
  if (keep_listings) tree.listings.emplace_back();
  struct Frame {
    size_t place;
    std::string path;                  // with a final "/"
    std::vector<std::string> folders;  // the folders inside, in listing order
    size_t next = 0;
  };
  std::vector<Frame> stack;
  FolderChain chain;
  // Lists the folder on top of the chain: counts its other entries, keeps its folders.
  const auto list = [&](size_t place, std::string path) {
    Frame frame{place, std::move(path), {}, 0};
    const int fd = chain.Top();
    std::vector<FolderEntry> entries;
    if (const int error = ReadFolderEntriesAt(fd, entries); error != 0) {
      tree.places[place].error = error;
      tree.places[place].opened = true;
    }
    std::vector<FolderEntry>* others = keep_listings ? &tree.listings[place] : nullptr;
    for (FolderEntry& entry : entries) {
      bool is_folder = entry.type == DT_DIR;
      if (entry.type == DT_UNKNOWN) {
        struct stat info {};
        is_folder = ::fstatat(fd, entry.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
                    S_ISDIR(info.st_mode);
      }
      if (is_folder) {
        frame.folders.push_back(std::move(entry.name));
      } else {
        ++counters.FileCount;
        if (others) others->push_back(std::move(entry));
      }
    }
    stack.push_back(std::move(frame));
  };
  if (!chain.Start(folder)) {
    tree.places[0].error = errno;
    return tree;
  }
  list(0, folder.empty() || folder.back() == '/' ? folder : folder + "/");
  while (!stack.empty()) {
    if (Stopped(stop)) break;
    Frame& top = stack.back();
    if (top.next == top.folders.size()) {
      stack.pop_back();
      if (!stack.empty()) chain.Leave();  // a failure shows as its later folders failing
      continue;
    }
    const size_t place = tree.places.size();
    tree.places.push_back({top.place, std::move(top.folders[top.next++])});
    if (keep_listings) tree.listings.emplace_back();
    const std::string& name = tree.places[place].name;
    std::string path = top.path + name;
    ++counters.FolderCount;
    folder_list.push_back(path);
    if (!chain.Enter(name)) {
      tree.places[place].error = errno;
      continue;
    }
    path += '/';
    list(place, std::move(path));
  }
  return tree;
}

void CollectFolders(const std::string& folder, TextList& folder_list, FolderCounters& counters,
                    const std::atomic<bool>* stop) {
  WalkFolders(folder, folder_list, counters, stop);
}

FolderOpener::FolderOpener(const FolderTree& tree, std::string start, FolderChain::Mode mode)
    : tree_(tree),
      start_(std::move(start)),
      chain_(mode),
      level_of_(tree.places.size(), kNowhere),
      failed_(tree.places.size(), false) {}

int FolderOpener::Open(size_t index) {
  // The places from `index` up to the first one on the chain (or the start folder).
  pending_.clear();
  size_t place = index;
  while (level_of_[place] == kNowhere) {
    if (failed_[place]) {
      for (const size_t inside : pending_)
        failed_[inside] = true;  // so that the folders inside them stop here at once
      errno = 0;
      return -1;
    }
    pending_.push_back(place);
    if (tree_.places[place].parent == FolderPlace::kNoParent) break;
    place = tree_.places[place].parent;
  }
  if (!pending_.empty() && tree_.places[pending_.back()].parent == FolderPlace::kNoParent) {
    const size_t root = pending_.back();
    pending_.pop_back();
    for (const size_t on_chain : chain_places_)
      level_of_[on_chain] = kNowhere;
    chain_places_.clear();
    if (!chain_.Start(root == 0 ? start_ : tree_.places[root].name)) {
      failed_[root] = true;
      return -1;
    }
    level_of_[root] = 0;
    chain_places_.push_back(root);
  } else {
    while (chain_places_.back() != place) {
      level_of_[chain_places_.back()] = kNowhere;
      chain_places_.pop_back();
      chain_.Leave();  // a failure shows as the next Enter failing
    }
  }
  for (auto it = pending_.rbegin(); it != pending_.rend(); ++it) {
    if (!chain_.Enter(tree_.places[*it].name)) {
      const int error = errno;
      failed_[*it] = true;
      errno = error;
      return -1;
    }
    level_of_[*it] = chain_places_.size();
    chain_places_.push_back(*it);
  }
  return chain_.Top();
}

}  // namespace pagelathe
