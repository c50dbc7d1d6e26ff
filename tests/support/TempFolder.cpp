// Temporary folders for tests.
#include "support/TempFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace pagelathe::testing {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "pagelathe-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern + "/";
}

namespace {

// Removes the folder `name` of `parent` with everything in it, folder by folder relative to
// each other, so that trees deeper than a path can be go too; write permission is given back
// first, so tests of read-only and unreadable folders clean up as well.
void RemoveTree(int parent, const std::string& name) {
  struct Level {
    int fd;
    std::string name;
  };
  std::vector<Level> stack;
  const auto enter = [&](int folder, const std::string& inner) {
    ::fchmodat(folder, inner.c_str(), 0700, 0);
    const int fd = ::openat(folder, inner.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
    if (fd >= 0) stack.push_back({fd, inner});
  };
  enter(parent, name);
  while (!stack.empty()) {
    const int fd = stack.back().fd;
    std::string inner;
    if (DIR* dir = ::fdopendir(::dup(fd))) {
      while (const dirent* entry = ::readdir(dir)) {
        const std::string entry_name = entry->d_name;
        if (entry_name == "." || entry_name == "..") continue;
        if (::unlinkat(fd, entry_name.c_str(), 0) == 0 || errno != EISDIR) continue;
        inner = entry_name;
        break;
      }
      ::closedir(dir);
    }
    if (!inner.empty()) {
      const size_t before = stack.size();
      enter(fd, inner);
      if (stack.size() > before) continue;
    }
    const Level done = stack.back();
    stack.pop_back();
    ::close(done.fd);
    if (::unlinkat(stack.empty() ? parent : stack.back().fd, done.name.c_str(), AT_REMOVEDIR) !=
        0) {
      for (const Level& level : stack)  // something would not go: leave it rather than loop
        ::close(level.fd);
      return;
    }
  }
}

}  // namespace

TempFolder::~TempFolder() {
  RemoveTree(AT_FDCWD, path_);
}

std::string TempFolder::MakeDeepFolder(const std::string& under, const std::string& name,
                                       int levels, const std::string& file,
                                       const std::string& bytes) const {
  std::string path = MakeFolder(under);
  int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY);
  for (int i = 0; i < levels && fd >= 0; ++i) {
    ::mkdirat(fd, name.c_str(), 0700);
    const int inner = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
    ::close(fd);
    fd = inner;
    path += name + "/";
  }
  const int out = ::openat(fd, file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (out < 0 || ::write(out, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
    throw std::runtime_error("cannot write the deep file");
  ::close(out);
  ::close(fd);
  return path;
}

std::string TempFolder::Write(const std::string& name, const std::string& bytes) const {
  const std::filesystem::path full = path_ + name;
  std::filesystem::create_directories(full.parent_path());
  std::ofstream out(full, std::ios::binary);
  out << bytes;
  return full.string();
}

std::string TempFolder::MakeFolder(const std::string& name) const {
  std::filesystem::create_directories(path_ + name);
  std::string result = path_ + name;
  if (result.back() != '/') result += '/';
  return result;
}

std::string TempFolder::Read(const std::string& name) const {
  std::ifstream in(path_ + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

ScopedFileSizeLimit::ScopedFileSizeLimit(unsigned long bytes) {
  rlimit limit{};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  old_soft_ = limit.rlim_cur;
  old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
  limit.rlim_cur = bytes;
  ::setrlimit(RLIMIT_FSIZE, &limit);
}

ScopedFileSizeLimit::~ScopedFileSizeLimit() {
  rlimit limit{};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = old_soft_;
  ::setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, old_handler_);
}

mode_t CurrentUmask() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::stoul(line.substr(6), 0, 8));
  return 022;
}

}  // namespace pagelathe::testing
