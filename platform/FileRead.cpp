// Safe whole-file reads: non-blocking opens, regular files only, a size limit, and memory
// refusal reported as a result rather than thrown through a job.
#include "platform/FileRead.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <utility>

#include "platform/Errors.h"
#include "platform/FileIO.h"
#include "platform/Utf8.h"

namespace pagelathe {
namespace {

constexpr size_t kFirstCapacity = 64 * 1024;  // most pages fit: one read, no size query

ReadResult Failed(ReadStatus status, int error = 0) {
  return ReadResult{status, error};
}

// Reads until the end of `fd` into `bytes` (sized as the buffer), growing it up to one byte
// over the limit so that a file that grew past it is seen.
ReadResult ReadToEnd(int fd, std::string& bytes, size_t size, uint64_t limit) {
  for (;;) {
    if (size == bytes.size()) {
      if (size > limit) return Failed(ReadStatus::kTooLarge);
      const uint64_t wanted = std::min<uint64_t>(uint64_t{bytes.size()} * 2, limit + 1);
      bytes.resize(static_cast<size_t>(std::max<uint64_t>(wanted, size + 1)));
    }
    const ssize_t n = ::read(fd, bytes.data() + size, bytes.size() - size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Failed(ReadStatus::kReadError, errno);
    }
    if (n == 0) break;
    size += static_cast<size_t>(n);
  }
  if (size > limit) return Failed(ReadStatus::kTooLarge);
  bytes.resize(size);
  return {};
}

}  // namespace

std::string ReadFailureMessage(const std::string& path, ReadResult result, uint64_t limit) {
  const std::string file = " file \"" + path + "\". ";
  switch (result.status) {
    case ReadStatus::kOk:
      return {};
    case ReadStatus::kCannotOpen:
      return "Cannot open" + file + std::strerror(result.error);
    case ReadStatus::kNotRegular:
      return "Cannot read" + file + "It is not a regular file.";
    case ReadStatus::kTooLarge:
      return "Cannot read" + file + "It is larger than " + std::to_string(limit >> 20) + " MB.";
    case ReadStatus::kNoMemory:
      return "Cannot read" + file + "Not enough memory.";
    case ReadStatus::kReadError:
      return "Cannot read" + file + std::strerror(result.error);
  }
  return {};
}

ReadResult OpenUserFile(int folder, const std::string& name, const UserFileAccess& access,
                        Descriptor& fd, struct stat& info) {
  const int flags =
      (access.mode == UserFileAccess::Mode::kAppend ? O_WRONLY | O_APPEND : O_RDONLY) | O_NONBLOCK |
      O_CLOEXEC | O_NOCTTY;
  fd.reset(folder == AT_FDCWD ? OpenPath(name, flags) : ::openat(folder, name.c_str(), flags));
  if (fd.get() < 0) return Failed(ReadStatus::kCannotOpen, errno);
  info = {};
  ReadResult result;
  if (::fstat(fd.get(), &info) != 0) {
    result = Failed(ReadStatus::kReadError, errno);
  } else if (S_ISFIFO(info.st_mode) && access.fifo) {
    // A stream: it has no size to check.
  } else if (!S_ISREG(info.st_mode)) {
    result = Failed(ReadStatus::kNotRegular);
  } else if (info.st_size < 0 || static_cast<uint64_t>(info.st_size) > access.limit) {
    result = Failed(ReadStatus::kTooLarge);
  }
  if (!result.ok()) fd.reset();
  return result;
}

ReadResult TryReadUserFile(const std::string& path, uint64_t limit, std::string& bytes) {
  bytes.clear();
  Descriptor fd;
  struct stat info {};
  UserFileAccess access;
  access.limit = limit;
  if (const ReadResult opened = OpenUserFile(AT_FDCWD, path, access, fd, info); !opened.ok())
    return opened;
  try {
    // One byte more than the size, so that the end shows at once.
    bytes.resize(static_cast<size_t>(info.st_size) + 1);
    const ReadResult result = ReadToEnd(fd.get(), bytes, 0, limit);
    if (!result.ok()) std::string().swap(bytes);
    return result;
  } catch (const std::bad_alloc&) {
    std::string().swap(bytes);
    return Failed(ReadStatus::kNoMemory);
  } catch (const std::length_error&) {
    std::string().swap(bytes);
    return Failed(ReadStatus::kNoMemory);
  }
}

std::string ReadUserFile(const std::string& path, uint64_t limit) {
  std::string bytes;
  const ReadResult result = TryReadUserFile(path, limit, bytes);
  if (!result.ok()) throw EFileError(ReadFailureMessage(path, result, limit));
  return bytes;
}

std::string ReadUserText(const std::string& path, uint64_t limit) {
  return DecodeText(ReadUserFile(path, limit));
}

void FileStorageRelease::operator()(char* data) const {
  ::munmap(data, length);
}

void FileBuffer::swap(FileBuffer& other) noexcept {
  std::swap(data_, other.data_);
  std::swap(capacity_, other.capacity_);
  std::swap(size_, other.size_);
}

void FileBuffer::Grow(size_t capacity) {
  const auto page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
  capacity = (capacity + page - 1) / page * page;
  void* block = ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
  if (block == MAP_FAILED) throw std::bad_alloc();
  std::unique_ptr<char[], FileStorageRelease> data(static_cast<char*>(block),
                                                   FileStorageRelease{capacity});
  if (size_) std::memcpy(data.get(), data_.get(), size_);
  data_ = std::move(data);
  capacity_ = capacity;
}

ReadResult FileBuffer::ReadAt(int folder, const std::string& name, uint64_t limit) {
  size_ = 0;
  const Descriptor file(
      ::openat(folder, name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (file.get() < 0) return Failed(ReadStatus::kCannotOpen, errno);
  try {
    if (capacity_ < kFirstCapacity) Grow(kFirstCapacity);
    bool checked = false;
    for (;;) {
      const ssize_t n = ::read(file.get(), data_.get() + size_, capacity_ - size_);
      if (n < 0) {
        if (errno == EINTR) continue;
        const int error = errno;
        size_ = 0;
        // A folder, or a pipe with nothing in it.
        if (error == EISDIR || error == EAGAIN) return Failed(ReadStatus::kNotRegular);
        return Failed(ReadStatus::kReadError, error);
      }
      size_ += static_cast<size_t>(n);
      // A regular file reads short only at its end, so a short read is the whole file. An
      // empty read may be a pipe without a writer, so only that one is worth a query.
      if (size_ < capacity_) {
        if (size_ == 0 && !checked) {
          struct stat info {};
          if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
            return Failed(ReadStatus::kNotRegular);
        }
        break;
      }
      // The buffer is full: only now is the kind and size of the file worth a query, so that
      // a device that never ends is not read for ever.
      if (!checked) {
        checked = true;
        struct stat info {};
        if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
          size_ = 0;
          return Failed(ReadStatus::kNotRegular);
        }
        if (info.st_size < 0 || static_cast<uint64_t>(info.st_size) > limit) {
          size_ = 0;
          return Failed(ReadStatus::kTooLarge);
        }
        if (static_cast<size_t>(info.st_size) >= capacity_) {
          Grow(static_cast<size_t>(info.st_size) + 1);  // one more: the end shows at once
          continue;
        }
      }
      if (size_ > limit) {  // the file grew past the limit since the query
        size_ = 0;
        return Failed(ReadStatus::kTooLarge);
      }
      Grow(capacity_ * 2);
    }
    if (size_ > limit) {
      size_ = 0;
      return Failed(ReadStatus::kTooLarge);
    }
    return {};
  } catch (const std::bad_alloc&) {
    size_ = 0;
    return Failed(ReadStatus::kNoMemory);
  }
}

}  // namespace pagelathe
