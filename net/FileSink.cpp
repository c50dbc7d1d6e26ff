// Transfer files.
#include "net/FileSink.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include "platform/Errors.h"
#include "platform/FileIO.h"

namespace pagelathe {
namespace {

std::string Reason() {
  return std::strerror(errno);
}

void WriteAll(int fd, const char* data, size_t count, const std::string& path) {
  while (count > 0) {
    const ssize_t n = ::write(fd, data, count);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EFileError("Cannot write file \"" + path + "\". " + Reason());
    }
    data += n;
    count -= static_cast<size_t>(n);
  }
}

}  // namespace

FileSink::FileSink(const std::string& path) : path_(path) {
  if (path.empty()) throw EFileError("Cannot create file \"\". No file name.");
  if (DirectoryExists(path))
    throw EFileError("Cannot create file \"" + path + "\". It is a folder.");
  temp_ = path + ".tmp-XXXXXX";
  fd_ = ::mkstemp(temp_.data());
  if (fd_ < 0) throw EFileError("Cannot create file \"" + path + "\". " + Reason());
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd_, 0666 & ~mask);
}

FileSink::~FileSink() {
  if (fd_ >= 0) {
    ::close(fd_);
    ::unlink(temp_.c_str());
  }
}

void FileSink::Write(const char* data, size_t count) {
  WriteAll(fd_, data, count, path_);
}

void FileSink::Commit() {
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 || ::rename(temp_.c_str(), path_.c_str()) != 0) {
    const std::string reason = Reason();
    ::unlink(temp_.c_str());
    throw EFileError("Cannot write file \"" + path_ + "\". " + reason);
  }
}

FileAppender::FileAppender(const std::string& path) : path_(path) {
  fd_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  if (fd_ < 0) throw EFileError("Cannot open file \"" + path + "\". " + Reason());
}

FileAppender::~FileAppender() {
  if (fd_ >= 0) ::close(fd_);
}

void FileAppender::Write(const char* data, size_t count) {
  WriteAll(fd_, data, count, path_);
}

FileSource::FileSource(const std::string& path) : path_(path) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat info {};
  if (fd_ < 0 || ::fstat(fd_, &info) != 0 || S_ISDIR(info.st_mode)) {
    const std::string reason = fd_ < 0 ? Reason() : "It is a folder.";
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    throw EFileError("Cannot open file \"" + path + "\". " + reason);
  }
  size_ = info.st_size;
}

FileSource::~FileSource() {
  if (fd_ >= 0) ::close(fd_);
}

size_t FileSource::Read(char* buffer, size_t count) {
  for (;;) {
    const ssize_t n = ::read(fd_, buffer, count);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw EFileError("Cannot read file \"" + path_ + "\". " + Reason());
    position_ += n;
    if (n == 0) position_ = size_;  // the file shrank under us
    return static_cast<size_t>(n);
  }
}

int64_t FileSizeOf(const std::string& path) {
  const FileSource file(path);
  return file.Size();
}

}  // namespace pagelathe
