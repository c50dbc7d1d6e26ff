// The temporary-file writer. Its temporary names are fixed per target (".NAME.pagelathe~0",
// "~1" ...) and each is held under an flock while in use: a name whose lock can be taken is a
// leftover of a writer that died, and is removed and made anew; the leftovers above the name a
// writer takes go too. So nothing piles up after a killed run, and a live writer's file is never
// touched by another.
#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <functional>
#include <vector>

#include "platform/Errors.h"

namespace pagelathe {
namespace {

constexpr int kTempNames = 64;        // writers of one file at the same time
constexpr size_t kLongestBase = 160;  // keeps the temporary name under NAME_MAX

std::string Quoted(const std::string& path) {
  return " \"" + path + "\". ";
}

// The temporary name number `index` for `target`, in the target's folder.
std::string TempName(const std::string& target, int index) {
  const size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  if (base.size() > kLongestBase) {
    char hash[2 * sizeof(size_t) + 1];
    std::snprintf(hash, sizeof hash, "%zx", std::hash<std::string>{}(base));
    base = base.substr(0, kLongestBase / 2) + "-" + hash;
  }
  return folder + "." + base + ".pagelathe~" + std::to_string(index);
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Opens `temp` (in `folder`) as this writer's own, locked: true with `fd` set; false with errno
// set on a real failure; false with errno EBUSY when another live writer holds it.
bool TakeTempFile(int folder, const std::string& temp, Descriptor& fd) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    fd.reset(
        ::openat(folder, temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
    const bool created = fd.get() >= 0;
    if (!created) {
      if (errno != EEXIST) return false;
      // Read-only is enough to lock it, and a leftover has the mode of the file it was to
      // replace, which may be read-only.
      fd.reset(::openat(folder, temp.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
      if (fd.get() < 0) {
        if (errno == ENOENT) continue;  // gone meanwhile: try to create it again
        if (errno == ELOOP || errno == ENXIO || errno == EISDIR || errno == EACCES) {
          errno = EBUSY;  // something else bears that name: use the next one
          return false;
        }
        return false;
      }
    }
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
      fd.reset();
      if (errno == EWOULDBLOCK) errno = EBUSY;
      return false;
    }
    // Between our open and our lock another writer may have removed the name; the lock counts
    // only while the name is still the file we hold.
    struct stat held {
    }, named{};
    if (::fstat(fd.get(), &held) != 0 ||
        ::fstatat(folder, temp.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
        !SameFile(held, named)) {
      fd.reset();
      continue;
    }
    if (created) return true;
    // A leftover of a writer that died: remove it and make a fresh one, so that the new file
    // gets today's permissions and none of the old bytes.
    if (!S_ISREG(held.st_mode)) {
      fd.reset();
      errno = EBUSY;
      return false;
    }
    ::unlinkat(folder, temp.c_str(), 0);
    fd.reset();
  }
  errno = EBUSY;
  return false;
}

// Removes `temp` when it is a leftover (a regular file whose lock nobody holds). False when
// there is no such name.
bool RemoveLeftover(int folder, const std::string& temp) {
  const Descriptor fd(
      ::openat(folder, temp.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  if (fd.get() < 0) return errno != ENOENT;
  struct stat held {
  }, named{};
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0 && ::fstat(fd.get(), &held) == 0 &&
      S_ISREG(held.st_mode) && ::fstatat(folder, temp.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
      SameFile(held, named)) {
    ::unlinkat(folder, temp.c_str(), 0);
  }
  return true;
}

// FollowLinks for a path relative to `folder`, named `shown` in its message.
std::string FollowLinksAt(int folder, const std::string& path, const std::string& shown) {
  std::string current = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::fstatat(folder, current.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISLNK(info.st_mode))
      return current;
    std::vector<char> buffer(PATH_MAX + 1);
    const ssize_t n = ::readlinkat(folder, current.c_str(), buffer.data(), buffer.size() - 1);
    if (n <= 0) return current;
    const std::string target(buffer.data(), static_cast<size_t>(n));
    if (target.front() == '/') {
      current = target;
    } else {
      const size_t slash = current.rfind('/');
      current =
          (slash == std::string::npos ? std::string() : current.substr(0, slash + 1)) + target;
    }
  }
  throw EFileError("Cannot create file" + Quoted(shown) + std::strerror(ELOOP));
}

}  // namespace

std::string FollowLinks(const std::string& path) {
  return FollowLinksAt(AT_FDCWD, path, path);
}

AtomicFile::AtomicFile(const std::string& path, Durability durability)
    : durability_(durability), path_(path) {
  if (path.empty()) throw EFileError("Cannot create file \"\". No file name.");
  target_ = FollowLinks(path);
  Begin();
}

AtomicFile::AtomicFile(int folder, const std::string& name, const std::string& shown,
                       Durability durability)
    : folder_(folder), durability_(durability), path_(shown) {
  if (name.empty()) throw EFileError("Cannot create file" + Quoted(shown) + "No file name.");
  target_ = FollowLinksAt(folder, name, shown);
  Begin();
}

void AtomicFile::Begin() {
  const std::string& path = path_;
  struct stat old {};
  const bool exists = ::fstatat(folder_, target_.c_str(), &old, 0) == 0;
  if (exists && S_ISDIR(old.st_mode))
    throw EFileError("Cannot create file" + Quoted(path) + "It is a folder.");
  if (exists && !S_ISREG(old.st_mode))
    throw EFileError("Cannot create file" + Quoted(path) + "It is not a regular file.");
  int error = EBUSY;
  int own = 0;
  for (; own < kTempNames; ++own) {
    temp_ = TempName(target_, own);
    if (TakeTempFile(folder_, temp_, fd_)) break;
    error = errno;
    if (error != EBUSY) break;
  }
  if (fd_.get() < 0) {
    temp_.clear();
    throw EFileError("Cannot create file" + Quoted(path) + std::strerror(error));
  }
  if (exists) ::fchmod(fd_.get(), old.st_mode & 07777);
  // Names are taken lowest first, so leftovers of writers killed while this one's name was in
  // use by another sit above it, up to the first name that is free.
  for (int index = own + 1; index < kTempNames && RemoveLeftover(folder_, TempName(target_, index));
       ++index) {
  }
}

AtomicFile::~AtomicFile() {
  // Still ours: we hold its lock.
  if (!committed_ && !temp_.empty()) ::unlinkat(folder_, temp_.c_str(), 0);
}

void AtomicFile::Fail(const char* what, int error) {
  ::unlinkat(folder_, temp_.c_str(), 0);
  temp_.clear();
  fd_.reset();
  throw EFileError(std::string(what) + Quoted(path_) + std::strerror(error));
}

void AtomicFile::Write(std::string_view bytes) {
  if (fd_.get() < 0) throw EFileError("Cannot write file" + Quoted(path_) + "It is closed.");
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd_.get(), bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail("Cannot write file", errno);
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

void AtomicFile::Commit() {
  if (fd_.get() < 0) throw EFileError("Cannot write file" + Quoted(path_) + "It is closed.");
  const bool synced = durability_ == Durability::kSynced;
  if (synced && ::fdatasync(fd_.get()) != 0) Fail("Cannot write file", errno);
  // Renamed while still locked, so no other writer can take the name for a leftover first.
  if (::renameat(folder_, temp_.c_str(), folder_, target_.c_str()) != 0)
    Fail("Cannot replace file", errno);
  committed_ = true;
  const int fd = fd_.release();
  if (::close(fd) != 0 && errno != EINTR)
    throw EFileError("Cannot write file" + Quoted(path_) + std::strerror(errno));
  if (!synced) return;
  // The new entry of the folder, so that the rename itself survives a power cut. A file
  // system that cannot sync a folder (EINVAL) keeps its entries by other means.
  const size_t slash = target_.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : target_.substr(0, slash + 1);
  const Descriptor entry(::openat(folder_, folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (entry.get() < 0 || (::fsync(entry.get()) != 0 && errno != EINVAL))
    throw EFileError("Cannot write file" + Quoted(path_) + std::strerror(errno));
}

void WriteFileAtomic(const std::string& path, std::string_view bytes, Durability durability) {
  AtomicFile file(path, durability);
  file.Write(bytes);
  file.Commit();
}

}  // namespace pagelathe
