// Mask matching and folder listing for the file list boxes.
#include "platform/FolderList.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/FileIO.h"
#include "platform/Letters.h"

namespace pagelathe {
namespace {

// ASCII letters without regard to case: the masks are extensions, and a name's other bytes
// stay as they are (a file name is bytes, of any encoding).
char Folded(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool Wildcard(std::string_view name, std::string_view mask) {
  size_t n = 0, m = 0;
  size_t star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == '?' || Folded(mask[m]) == Folded(name[n]))) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == '*') {
      star = m++;
      resume = n;
    } else if (star != std::string_view::npos) {
      m = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*')
    ++m;
  return m == mask.size();
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ')
    s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ')
    s.remove_suffix(1);
  return s;
}

}  // namespace

std::vector<FileFilter> ParseFilter(std::string_view filter) {
  std::vector<FileFilter> result;
  while (!filter.empty()) {
    const size_t bar = filter.find('|');
    FileFilter entry;
    entry.description = std::string(filter.substr(0, bar));
    if (bar == std::string_view::npos) {
      filter = {};
    } else {
      filter.remove_prefix(bar + 1);
      const size_t next = filter.find('|');
      entry.masks = std::string(filter.substr(0, next));
      filter = next == std::string_view::npos ? std::string_view{} : filter.substr(next + 1);
    }
    if (entry.masks.empty()) entry.masks = "*.*";
    result.push_back(std::move(entry));
  }
  return result;
}

bool MatchesMask(std::string_view name, std::string_view mask) {
  mask = TrimBlanks(mask);
  if (mask.empty()) return false;
  if (mask == "*" || mask == "*.*") return true;
  if (Wildcard(name, mask)) return true;
  // The short-name rule: "*.htm" also takes "x.html", "*.shtm" takes "x.shtml".
  const size_t mask_dot = mask.rfind('.');
  if (mask_dot == std::string_view::npos) return false;
  const std::string_view mask_ext = mask.substr(mask_dot + 1);
  if (mask_ext.size() < 3 || mask_ext.find_first_of("*?") != std::string_view::npos) return false;
  const size_t name_dot = name.rfind('.');
  if (name_dot == std::string_view::npos) return false;
  const std::string_view name_ext = name.substr(name_dot + 1);
  return name_ext.size() > mask_ext.size() &&
         AsciiLowerCase(name_ext.substr(0, mask_ext.size())) == AsciiLowerCase(mask_ext) &&
         Wildcard(name.substr(0, name_dot), mask.substr(0, mask_dot));
}

bool MatchesMasks(std::string_view name, std::string_view masks) {
  while (true) {
    const size_t semi = masks.find(';');
    if (MatchesMask(name, masks.substr(0, semi))) return true;
    if (semi == std::string_view::npos) return false;
    masks.remove_prefix(semi + 1);
  }
}

int ReadFolderEntriesAt(int folder, std::vector<FolderEntry>& entries) {
  const int own = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (own < 0) return errno;
  DIR* dir = ::fdopendir(own);
  if (!dir) {
    const int error = errno;
    ::close(own);
    return error;
  }
  int error = 0;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir);
    if (!entry) {
      error = errno;
      break;
    }
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    entries.push_back({std::string(name), entry->d_type});
  }
  ::closedir(dir);
  return error;
}

std::vector<FolderEntry> ReadFolderEntries(const std::string& folder) {
  std::vector<FolderEntry> entries;
  const Descriptor fd(OpenPath(folder.empty() ? "." : folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() >= 0) ReadFolderEntriesAt(fd.get(), entries);
  return entries;
}

bool NeedsLookUp(const std::vector<FolderEntry>& entries) {
  for (const FolderEntry& entry : entries)
    if (entry.type == DT_UNKNOWN || entry.type == DT_LNK) return true;
  return false;
}

std::vector<std::string> FilesAmong(int folder, std::vector<FolderEntry> entries,
                                    std::string_view masks) {
  std::vector<std::string> names;
  for (FolderEntry& entry : entries) {
    if (entry.name.empty() || entry.name.front() == '.') continue;
    bool regular = entry.type == DT_REG;
    if (entry.type == DT_UNKNOWN || entry.type == DT_LNK) {
      struct stat info {};
      regular = ::fstatat(folder, entry.name.c_str(), &info, 0) == 0 && S_ISREG(info.st_mode);
    }
    if (regular && MatchesMasks(entry.name, masks)) names.push_back(std::move(entry.name));
  }
  SortShownBytes(names);  // in the order of their shown names
  return names;
}

std::vector<std::string> ListFiles(const std::string& folder, std::string_view masks) {
  const Descriptor fd(OpenPath(folder.empty() ? "." : folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() < 0) return {};
  std::vector<FolderEntry> entries;
  ReadFolderEntriesAt(fd.get(), entries);
  return FilesAmong(fd.get(), std::move(entries), masks);
}

}  // namespace pagelathe
