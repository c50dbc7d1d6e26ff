// The chain of open folders.
#include "platform/FolderChain.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace pagelathe {
namespace {

// Descriptors held at once below the start folder: enough that a walk of an ordinary tree
// never opens a folder twice, few enough for any limit on open files.
constexpr size_t kHeldLevels = 24;

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

bool SameFolder(int fd, dev_t device, ino_t inode) {
  struct stat info {};
  return ::fstat(fd, &info) == 0 && info.st_dev == device && info.st_ino == inode;
}

}  // namespace

int FolderChain::OpenIn(int folder, const std::string& name) const {
  if (mode_ == Mode::kNoLinks) return ::openat(folder, name.c_str(), kFolderFlags | O_NOFOLLOW);
  const int fd = ::openat(folder, name.c_str(), kFolderFlags);
  if (fd >= 0 || errno != ENOENT) return fd;
  if (::mkdirat(folder, name.c_str(), 0777) != 0 && errno != EEXIST) return -1;
  return ::openat(folder, name.c_str(), kFolderFlags);
}

bool FolderChain::Start(const std::string& path) {
  levels_.clear();
  lowest_held_ = 1;
  const int fd = OpenPath(path.empty() ? "." : path, kFolderFlags);
  if (fd < 0) return false;
  levels_.push_back(Level{Descriptor(fd), path});
  return true;
}

int FolderChain::Top() const {
  return levels_.empty() ? -1 : levels_.back().fd.get();
}

bool FolderChain::Enter(const std::string& name) {
  const int top = Top();
  if (top < 0) {
    errno = levels_.empty() ? EBADF : ENOENT;
    return false;
  }
  const int fd = OpenIn(top, name);
  if (fd < 0) return false;
  levels_.push_back(Level{Descriptor(fd), name});
  // Gives up the descriptor furthest from the top, remembering what it was.
  if (levels_.size() - lowest_held_ > kHeldLevels) {
    Level& level = levels_[lowest_held_++];
    struct stat info {};
    ::fstat(level.fd.get(), &info);
    level.device = info.st_dev;
    level.inode = info.st_ino;
    level.fd.reset();
  }
  return true;
}

bool FolderChain::Leave() {
  if (levels_.empty()) return true;
  const Descriptor above(levels_.back().fd.release());
  levels_.pop_back();
  if (levels_.size() <= 1) {
    lowest_held_ = 1;
    return true;
  }
  const size_t top = levels_.size() - 1;
  if (levels_[top].fd.get() >= 0) return true;
  lowest_held_ = top;
  return Reopen(top, above.get());
}

// Opens `level` again: through ".." of the folder above it, else down from the start folder by
// the names of the chain; either way it must be the folder it was.
bool FolderChain::Reopen(size_t level, int above) {
  Level& wanted = levels_[level];
  if (above >= 0) {
    Descriptor up(::openat(above, "..", kFolderFlags));
    if (up.get() >= 0 && SameFolder(up.get(), wanted.device, wanted.inode)) {
      wanted.fd = std::move(up);
      return true;
    }
  }
  Descriptor fd(::dup(levels_[0].fd.get()));
  for (size_t i = 1; i <= level && fd.get() >= 0; ++i)
    fd.reset(OpenIn(fd.get(), levels_[i].name));
  if (fd.get() >= 0 && SameFolder(fd.get(), wanted.device, wanted.inode)) {
    wanted.fd = std::move(fd);
    return true;
  }
  errno = ENOENT;
  return false;
}

}  // namespace pagelathe
