// The folder search: the walk, the file lists, and one read per document.
#include "tools/links/FolderSearch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

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

}  // namespace

void DocumentBuffer::swap(DocumentBuffer& other) noexcept {
  std::swap(data_, other.data_);
  std::swap(capacity_, other.capacity_);
  std::swap(size_, other.size_);
}

void DocumentBuffer::Grow(size_t capacity) {
  auto data = std::make_unique_for_overwrite<char[]>(capacity);
  if (size_) std::memcpy(data.get(), data_.get(), size_);
  data_ = std::move(data);
  capacity_ = capacity;
}

bool DocumentBuffer::ReadFileAt(int folder, const std::string& name) {
  size_ = 0;
  // Never blocks: a pipe or terminal put in the place of a listed file answers at once.
  const Descriptor file(::openat(folder, name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.fd < 0) return false;
  constexpr size_t kFirstCapacity = 64 * 1024;  // most pages fit: one read, no size query
  if (capacity_ < kFirstCapacity) Grow(kFirstCapacity);
  bool checked = false;
  for (;;) {
    const ssize_t n = ::read(file.fd, data_.get() + size_, capacity_ - size_);
    if (n < 0) {
      if (errno == EINTR) continue;
      size_ = 0;  // a folder, or nothing to read from a pipe
      return false;
    }
    size_ += static_cast<size_t>(n);
    // A regular file reads short only at its end, so a short read is the whole file.
    if (size_ < capacity_) break;
    // The buffer is full: only now is the kind and size of the file worth a query, so that
    // a device that never ends is not read for ever.
    if (!checked) {
      checked = true;
      struct stat info {};
      if (::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        size_ = 0;
        return false;
      }
      if (static_cast<size_t>(info.st_size) >= capacity_) {
        Grow(static_cast<size_t>(info.st_size) + 1);  // one more: the end shows at once
        continue;
      }
    }
    Grow(capacity_ * 2);  // the file grew since the query
  }
  // A short first read is taken as it stands: the listing named a regular file, and what may
  // have replaced it since (a pipe, say) reads short without harm.
  return true;
}

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
  DocumentBuffer document;
  LinkStore links;
  const size_t n = names.size();
  for (size_t i = 0; i < n; ++i) {
    if (Stopped(stop)) return false;
    if (!IsDocumentFile(names[i])) continue;
    // A document that cannot be read (removed or locked since the listing) is skipped.
    if (open_folder.fd < 0 || !document.ReadFileAt(open_folder.fd, names[i])) continue;
    links.clear();
    extractor.ExtractFileText(document.View(), links);
    if (callbacks.document_searched)
      callbacks.document_searched(static_cast<int>(100 * i / n), names[i], links, document);
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
