// Program paths on Linux.
#include "platform/Paths.h"

#include <unistd.h>

#include <climits>
#include <vector>

namespace pagelathe {

std::string ExecutablePath() {
  std::vector<char> buffer(PATH_MAX + 1);
  const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (n <= 0) return {};
  return std::string(buffer.data(), static_cast<size_t>(n));
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return "./";
  return path.substr(0, slash + 1);
}

std::string SettingsFileFor(const std::string& executable_path) {
  const size_t slash = executable_path.rfind('/');
  const size_t dot = executable_path.rfind('.');
  const bool has_extension =
      dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  return (has_extension ? executable_path.substr(0, dot) : executable_path) + ".ini";
}

std::string CurrentFolder() {
  std::vector<char> buffer(PATH_MAX + 1);
  if (::getcwd(buffer.data(), buffer.size()) == nullptr) return ".";
  return buffer.data();
}

}  // namespace pagelathe
