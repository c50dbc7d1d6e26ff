// Streamed reads of a user's input.
#include "platform/FileStream.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/select.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace pagelathe {

ReadResult UserFileStream::Open(const std::string& path, Accept accept, uint64_t limit) {
  return Opened(AT_FDCWD, path, accept, limit);
}

ReadResult UserFileStream::OpenAt(int folder, const std::string& name, Accept accept,
                                  uint64_t limit) {
  return Opened(folder, name, accept, limit);
}

ReadResult UserFileStream::Opened(int folder, const std::string& name, Accept accept,
                                  uint64_t limit) {
  limit_ = limit;
  total_ = 0;
  fd_ = -1;
  UserFileAccess access;
  access.fifo = accept == Accept::kRegularOrFifo;
  access.limit = limit;
  struct stat info {};
  status_ = OpenUserFile(folder, name, access, owned_, info);
  if (!status_.ok()) return status_;
  // A FIFO stays non-blocking and is read after a poll, which waits until its writer has
  // written or has come and gone (a read alone would end at once while no writer has come;
  // an open that blocks would wait for ever for a writer that came before it).
  const bool fifo = S_ISFIFO(info.st_mode);
  if (!fifo) {
    const int flags = ::fcntl(owned_.get(), F_GETFL);
    if (flags >= 0) ::fcntl(owned_.get(), F_SETFL, flags & ~O_NONBLOCK);
  }
  fd_ = owned_.get();
  stream_ = fifo;
  poll_first_ = fifo;
  return status_;
}

ReadResult UserFileStream::OpenStandardInput(uint64_t limit) {
  owned_.reset();
  limit_ = limit;
  total_ = 0;
  fd_ = STDIN_FILENO;
  poll_first_ = false;
  struct stat info {};
  // A file given as standard input is read like a named one, unless it was given part read:
  // then only its rest is the input, which a second pass could not find again.
  stream_ = ::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode) || ::lseek(fd_, 0, SEEK_CUR) != 0;
  if (!stream_ && info.st_size >= 0 && static_cast<uint64_t>(info.st_size) > limit)
    return status_ = {ReadStatus::kTooLarge, 0};
  return status_ = {};
}

size_t UserFileStream::Read(char* buffer, size_t capacity) {
  if (fd_ < 0 || !status_.ok()) return 0;
  for (;;) {
    if (poll_first_) {
      pollfd waiting{fd_, POLLIN, 0};
      if (::poll(&waiting, 1, -1) < 0) {
        if (errno == EINTR && stop_ && stop_->load()) {
          status_ = {ReadStatus::kReadError, EINTR};
          return 0;
        }
        if (errno == EINTR) continue;
        status_ = {ReadStatus::kReadError, errno};
        return 0;
      }
    }
    const ssize_t n = ::read(fd_, buffer, capacity);
    if (n < 0) {
      if (errno == EINTR) {
        if (stop_ && stop_->load()) {
          status_ = {ReadStatus::kReadError, EINTR};
          return 0;
        }
        continue;
      }
      // A descriptor left non-blocking by whoever gave it to us: wait for it to be readable.
      if (errno == EAGAIN) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd_, &readable);
        if (::select(fd_ + 1, &readable, nullptr, nullptr, nullptr) < 0 && stop_ && stop_->load()) {
          status_ = {ReadStatus::kReadError, EINTR};
          return 0;
        }
        continue;
      }
      status_ = {ReadStatus::kReadError, errno};
      return 0;
    }
    total_ += static_cast<uint64_t>(n);
    if (total_ > limit_) {
      status_ = {ReadStatus::kTooLarge, 0};
      return 0;
    }
    return static_cast<size_t>(n);
  }
}

bool UserFileStream::Rewind() {
  if (stream_ || fd_ < 0 || !status_.ok()) return false;
  if (::lseek(fd_, 0, SEEK_SET) != 0) return false;
  total_ = 0;
  return true;
}

}  // namespace pagelathe
