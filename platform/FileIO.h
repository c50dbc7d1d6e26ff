// Descriptors, safe replacement of whole files and path helpers. A file that replaces a user's
// file is written beside it under a temporary name and renamed over it (platform/AtomicFile.h),
// so a failed write leaves the old file whole; reading goes through platform/FileRead.h.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <string>
#include <string_view>

namespace pagelathe {

// An open POSIX descriptor (or -1), closed when it goes or is replaced.
class Descriptor {
 public:
  Descriptor() = default;
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() { reset(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  Descriptor(Descriptor&& other) noexcept : fd_(other.release()) {}
  Descriptor& operator=(Descriptor&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  [[nodiscard]] int get() const { return fd_; }
  // Gives the descriptor up without closing it.
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  // Closes the descriptor held, if any, and holds `fd` instead.
  void reset(int fd = -1);

 private:
  int fd_ = -1;
};

// How far a replacement goes before it is done (platform/AtomicFile.h says which files are
// which): kCached leaves the writing out to the system, kSynced waits until the disk has it.
enum class Durability { kCached, kSynced };

// Replaces (or creates) `path` with `bytes` through an AtomicFile (platform/AtomicFile.h):
// a link is followed, the permissions kept. Raises EFileError naming the file on any failure;
// the old file is then untouched and no temporary file is left behind.
void WriteFileAtomic(const std::string& path, std::string_view bytes,
                     Durability durability = Durability::kCached);

// open(2) of a path of any length: one longer than the system takes in one call (PATH_MAX) is
// opened a part at a time, each part relative to the folder that the part before it named, so
// it means what it says (links in it are followed as open follows them). -1 with errno set.
[[nodiscard]] int OpenPath(const std::string& path, int flags, mode_t mode = 0);

// stat(2) of a path of any length, as OpenPath reaches it. False with errno set.
[[nodiscard]] bool StatPath(const std::string& path, struct stat& info);

// Both take paths of any length.
[[nodiscard]] bool FileExists(const std::string& path);
[[nodiscard]] bool DirectoryExists(const std::string& path);

// Creates one folder level; false when it could not be created (or exists as a file).
bool CreateFolder(const std::string& path);

// Joins a folder and a name with one "/" (none added when the folder already ends with one).
[[nodiscard]] std::string JoinPath(const std::string& folder, const std::string& name);

// The folder with exactly one final "/" (an empty folder stays empty).
[[nodiscard]] std::string WithFinalSlash(const std::string& folder);

}  // namespace pagelathe
