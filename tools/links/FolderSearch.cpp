// The folder search: the walk, the file lists, and one read per document.
#include "tools/links/FolderSearch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FolderList.h"
#include "platform/Win1251.h"

namespace pagelathe {
namespace {

bool Stopped(const std::atomic<bool>* stop) {
  return stop && stop->load(std::memory_order_relaxed);
}

// An open descriptor, closed when it goes.
struct Descriptor {
  int fd;
  explicit Descriptor(int value) : fd(value) {}
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
};

// Reads the file `name` of the open folder `folder` whole into `bytes`, reusing its storage.
// False when it cannot be opened or read (removed or locked since the listing, a folder, a
// dangling link).
bool ReadDocument(int folder, const std::string& name, std::string& bytes) {
  const Descriptor file(::openat(folder, name.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.fd < 0) return false;
  struct stat info {};
  if (::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)) return false;
  size_t length = 0;
  bytes.resize(static_cast<size_t>(info.st_size) + 1);  // one more: the end shows at once
  for (;;) {
    if (length == bytes.size()) bytes.resize(bytes.size() * 2);
    const size_t wanted = bytes.size() - length;
    const ssize_t n = ::read(file.fd, bytes.data() + length, wanted);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    length += static_cast<size_t>(n);
    // A regular file reads short only at its end: no further call to learn that.
    if (static_cast<size_t>(n) < wanted) break;
  }
  bytes.resize(length);
  return true;
}

}  // namespace

const char* const kDocumentExtensions[6] = {".txt", ".htm", ".html", ".shtm", ".shtml", ".php"};

bool IsDocumentFile(std::string_view name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string extension = LowerCase(name.substr(dot));
  for (const char* known : kDocumentExtensions)
    if (extension == known) return true;
  return false;
}

bool SearchFolderFiles(const std::string& folder, std::string_view masks,
                       const LinkExtractor& extractor, const FolderSearchCallbacks& callbacks,
                       const std::atomic<bool>* stop) {
  const std::vector<std::string> names = ListFiles(folder, masks);
  if (names.empty()) return !Stopped(stop);
  const Descriptor open_folder(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  std::string bytes;
  const size_t n = names.size();
  for (size_t i = 0; i < n; ++i) {
    if (Stopped(stop)) return false;
    if (!IsDocumentFile(names[i])) continue;
    // A document that cannot be read (removed or locked since the listing) is skipped.
    if (open_folder.fd < 0 || !ReadDocument(open_folder.fd, names[i], bytes)) continue;
    TextList links;
    links.reserve(64);  // a page of ordinary markup holds a few dozen links
    extractor.ExtractFileText(bytes, links);
    if (callbacks.document_searched)
      callbacks.document_searched(static_cast<int>(100 * i / n), names[i], std::move(links), bytes);
  }
  return !Stopped(stop);
}

void RunFolderSearch(const std::string& root, bool sub_dirs, std::string_view masks,
                     const LinkExtractor& extractor, const FolderSearchCallbacks& callbacks,
                     FolderSearchResult& result, const std::atomic<bool>* stop) {
  result = {};
  result.folders.push_back(root);
  if (sub_dirs) CollectFolders(root, result.folders, result.counters, stop);
  for (const std::string& folder : result.folders) {
    if (Stopped(stop)) break;
    if (callbacks.folder_started) callbacks.folder_started(folder);
    if (!SearchFolderFiles(folder, masks, extractor, callbacks, stop)) break;
  }
  result.stopped = Stopped(stop);
}

}  // namespace pagelathe
