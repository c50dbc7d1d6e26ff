// Descriptors, folders and paths.
#include "platform/FileIO.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace pagelathe {

void Descriptor::reset(int fd) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
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
