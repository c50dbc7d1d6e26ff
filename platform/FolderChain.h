// A chain of open folders from a start folder down to the one on top, each opened relative to
// the folder it is in (openat), so a folder of any depth is reached however long its path is.
// Only the folders near the top hold a descriptor: one further down is opened again through
// the ".." of the folder above it when the chain comes back to it, and is checked to be the
// same folder. So a chain holds a few descriptors whatever its depth.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <vector>

#include "platform/FileIO.h"

namespace pagelathe {

class FolderChain {
 public:
  // How a folder is entered: a walk never goes through a symbolic link; the result side of a
  // batch makes the folders it needs and follows links as a path would.
  enum class Mode { kNoLinks, kCreate };

  explicit FolderChain(Mode mode = Mode::kNoLinks) : mode_(mode) {}

  // Opens the start folder `path` (of any length; links in it followed, as a path is). The
  // chain then holds it alone. False with errno set and the chain empty.
  bool Start(const std::string& path);
  // Opens the folder `name` inside the top one and puts it on top. False with errno set and
  // the chain unchanged.
  bool Enter(const std::string& name);
  // Takes the top folder off. False with errno set when the folder then on top could not be
  // opened again (it was moved away meanwhile): it stays on top without a descriptor, and
  // entering a folder in it fails.
  bool Leave();

  // The descriptor of the top folder (-1 for an empty chain or a folder moved away).
  [[nodiscard]] int Top() const;
  // The number of folders in the chain, the start folder included.
  [[nodiscard]] size_t Depth() const { return levels_.size(); }

 private:
  struct Level {
    Descriptor fd;
    std::string name;
    dev_t device = 0;  // known once its descriptor was given up
    ino_t inode = 0;
  };
  [[nodiscard]] int OpenIn(int folder, const std::string& name) const;
  bool Reopen(size_t level, int above);

  Mode mode_;
  std::vector<Level> levels_;
  size_t lowest_held_ = 1;  // levels from here to the top hold descriptors (and the start one)
};

}  // namespace pagelathe
