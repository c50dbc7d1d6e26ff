// Descriptors, folders and paths.
#include "platform/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace pagelathe {

void Descriptor::reset(int fd) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
}

namespace {

// For a path too long for one call: opens the folders of its head, a part of less than
// PATH_MAX bytes ending at a "/" at a time, and leaves in `rest` the part to open in the last
// of them. The folder's descriptor, or -1 with errno set.
int OpenLongPathFolder(const std::string& path, std::string& rest) {
  Descriptor folder;
  std::string_view remaining = path;
  while (remaining.size() >= PATH_MAX) {
    const size_t slash = remaining.rfind('/', PATH_MAX - 2);
    if (slash == std::string_view::npos) {
      errno = ENAMETOOLONG;  // one name longer than the system takes
      return -1;
    }
    const std::string head(remaining.substr(0, slash + 1));
    const int fd = ::openat(folder.get() < 0 ? AT_FDCWD : folder.get(), head.c_str(),
                            O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return -1;
    folder.reset(fd);
    remaining.remove_prefix(slash + 1);
  }
  rest = std::string(remaining);
  return folder.release();
}

}  // namespace

int OpenPath(const std::string& path, int flags, mode_t mode) {
  if (path.size() < PATH_MAX) return ::open(path.c_str(), flags, mode);
  std::string rest;
  const Descriptor folder(OpenLongPathFolder(path, rest));
  if (folder.get() < 0) return -1;
  return ::openat(folder.get(), rest.c_str(), flags, mode);
}

bool StatPath(const std::string& path, struct stat& info) {
  if (path.size() < PATH_MAX) return ::stat(path.c_str(), &info) == 0;
  std::string rest;
  const Descriptor folder(OpenLongPathFolder(path, rest));
  return folder.get() >= 0 && ::fstatat(folder.get(), rest.c_str(), &info, 0) == 0;
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return StatPath(path, info) && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && StatPath(path, info) && S_ISDIR(info.st_mode);
}

bool CreateFolder(const std::string& path) {
  return ::mkdir(path.c_str(), 0777) == 0 || (errno == EEXIST && DirectoryExists(path));
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

std::string WithFinalSlash(const std::string& folder) {
  if (folder.empty()) return folder;
  size_t end = folder.size();
  while (end > 1 && folder[end - 1] == '/')
    --end;
  std::string result = folder.substr(0, end);
  if (result != "/") result += '/';
  return result;
}

}  // namespace pagelathe
