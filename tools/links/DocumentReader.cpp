// Reading the documents of a search, one after the other into one reused buffer.
#include "tools/links/DocumentReader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>
#include <utility>

#include "platform/FileIO.h"
#include "platform/Win1251.h"

namespace pagelathe {
namespace {

constexpr size_t kFirstCapacity = 64 * 1024;  // most pages fit: one read, no size query

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

void DocumentBuffer::swap(DocumentBuffer& other) noexcept {
  std::swap(data_, other.data_);
  std::swap(capacity_, other.capacity_);
  std::swap(size_, other.size_);
}

void DocumentStorageRelease::operator()(char* data) const {
  ::munmap(data, length);
}

void DocumentBuffer::Grow(size_t capacity) {
  const auto page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
  capacity = (capacity + page - 1) / page * page;
  void* block = ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
  if (block == MAP_FAILED) throw std::bad_alloc();
  std::unique_ptr<char[], DocumentStorageRelease> data(static_cast<char*>(block),
                                                       DocumentStorageRelease{capacity});
  if (size_) std::memcpy(data.get(), data_.get(), size_);
  data_ = std::move(data);
  capacity_ = capacity;
}

bool DocumentBuffer::ReadFileAt(int folder, const std::string& name) {
  size_ = 0;
  // Never blocks: a pipe or terminal put in the place of a listed file answers at once.
  const Descriptor file(::openat(folder, name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.get() < 0) return false;
  if (capacity_ < kFirstCapacity) Grow(kFirstCapacity);
  bool checked = false;
  for (;;) {
    const ssize_t n = ::read(file.get(), data_.get() + size_, capacity_ - size_);
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
      if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
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

DocumentReader::DocumentReader(const TextList& folders, std::string masks,
                               const std::atomic<bool>* stop,
                               std::vector<std::vector<FolderEntry>> listings)
    : folders_(folders), listings_(std::move(listings)), masks_(std::move(masks)), stop_(stop) {}

bool DocumentReader::Stopped() const {
  return stop_ && stop_->load(std::memory_order_relaxed);
}

bool DocumentReader::Next(Item& item) {
  for (;;) {
    if (Stopped()) return false;
    if (!in_folder_) {
      if (folder_ == folders_.size()) return false;
      const std::string& folder = folders_[folder_];
      names_ = folder_ < listings_.size()
                   ? FilesAmong(folder, std::move(listings_[folder_]), masks_)
                   : ListFiles(folder, masks_);
      next_name_ = 0;
      in_folder_ = true;
      item.folder_start = true;
      item.folder = folder_;
      item.name.clear();
      item.percent = 0;
      item.document.Clear();
      return true;
    }
    while (next_name_ < names_.size()) {
      const size_t i = next_name_++;
      if (Stopped()) return false;
      if (!IsDocumentFile(names_[i])) continue;
      if (folder_fd_.get() < 0) {  // opened at its first document: most folders hold none
        folder_fd_.reset(::open(folders_[folder_].c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folder_fd_.get() < 0) {
          next_name_ = names_.size();
          continue;
        }
      }
      // A document that cannot be read (removed or locked since the listing) is skipped.
      if (!item.document.ReadFileAt(folder_fd_.get(), names_[i])) continue;
      item.folder_start = false;
      item.folder = folder_;
      item.name = names_[i];
      item.percent = static_cast<int>(100 * i / names_.size());
      return true;
    }
    folder_fd_.reset();
    in_folder_ = false;
    ++folder_;
  }
}

}  // namespace pagelathe
