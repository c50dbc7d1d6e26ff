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

// Opens `temp` as this writer's own, locked: true with `fd` set; false with errno set on a
// real failure; false with errno EBUSY when another live writer holds it.
bool TakeTempFile(const std::string& temp, Descriptor& fd) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    fd.reset(::open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
    const bool created = fd.get() >= 0;
    if (!created) {
      if (errno != EEXIST) return false;
      // Read-only is enough to lock it, and a leftover has the mode of the file it was to
      // replace, which may be read-only.
      fd.reset(::open(temp.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
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
    if (::fstat(fd.get(), &held) != 0 || ::lstat(temp.c_str(), &named) != 0 ||
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
    ::unlink(temp.c_str());
    fd.reset();
  }
  errno = EBUSY;
  return false;
}

// Removes `temp` when it is a leftover (a regular file whose lock nobody holds). False when
// there is no such name.
bool RemoveLeftover(const std::string& temp) {
  const Descriptor fd(::open(temp.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  if (fd.get() < 0) return errno != ENOENT;
  struct stat held {
  }, named{};
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0 && ::fstat(fd.get(), &held) == 0 &&
      S_ISREG(held.st_mode) && ::lstat(temp.c_str(), &named) == 0 && SameFile(held, named)) {
    ::unlink(temp.c_str());
  }
  return true;
}

}  // namespace

std::string FollowLinks(const std::string& path) {
  std::string current = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
    std::vector<char> buffer(PATH_MAX + 1);
    const ssize_t n = ::readlink(current.c_str(), buffer.data(), buffer.size() - 1);
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
  throw EFileError("Cannot create file" + Quoted(path) + std::strerror(ELOOP));
}

AtomicFile::AtomicFile(const std::string& path) : path_(path) {
  if (path.empty()) throw EFileError("Cannot create file \"\". No file name.");
  target_ = FollowLinks(path);
  struct stat old {};
  const bool exists = ::stat(target_.c_str(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode))
    throw EFileError("Cannot create file" + Quoted(path) + "It is a folder.");
  if (exists && !S_ISREG(old.st_mode))
    throw EFileError("Cannot create file" + Quoted(path) + "It is not a regular file.");
  int error = EBUSY;
  int own = 0;
  for (; own < kTempNames; ++own) {
    temp_ = TempName(target_, own);
    if (TakeTempFile(temp_, fd_)) break;
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
  for (int index = own + 1; index < kTempNames && RemoveLeftover(TempName(target_, index));
       ++index) {
  }
}

AtomicFile::~AtomicFile() {
  if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());  // still ours: we hold its lock
}

void AtomicFile::Fail(const char* what, int error) {
  ::unlink(temp_.c_str());
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
  // Renamed while still locked, so no other writer can take the name for a leftover first.
  if (::rename(temp_.c_str(), target_.c_str()) != 0) Fail("Cannot replace file", errno);
  committed_ = true;
  const int fd = fd_.release();
  if (::close(fd) != 0 && errno != EINTR)
    throw EFileError("Cannot write file" + Quoted(path_) + std::strerror(errno));
}

void WriteFileAtomic(const std::string& path, std::string_view bytes) {
  AtomicFile file(path);
  file.Write(bytes);
  file.Commit();
}

}  // namespace pagelathe
