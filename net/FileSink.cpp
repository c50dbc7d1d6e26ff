// Transfer files: both opened through the platform's safe open (without blocking, regular
// files only).
#include "net/FileSink.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include "platform/Errors.h"
#include "platform/FileRead.h"

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

FileAppender::FileAppender(const std::string& path) : path_(path) {
  Descriptor fd;
  struct stat info {};
  UserFileAccess access;
  access.mode = UserFileAccess::Mode::kAppend;
  const ReadResult opened = OpenUserFile(AT_FDCWD, path, access, fd, info);
  if (opened.status == ReadStatus::kCannotOpen)
    throw EFileError(ReadFailureMessage(path, opened, 0));
  if (!opened.ok())
    throw EFileError("Cannot open file \"" + path + "\". It is not a regular file.");
  fd_ = fd.release();
}

FileAppender::~FileAppender() {
  if (fd_ >= 0) ::close(fd_);
}

void FileAppender::Write(const char* data, size_t count) {
  WriteAll(fd_, data, count, path_);
}

FileSource::FileSource(const std::string& path) : path_(path) {
  Descriptor fd;
  struct stat info {};
  const ReadResult opened = OpenUserFile(AT_FDCWD, path, UserFileAccess{}, fd, info);
  if (!opened.ok()) throw EFileError(ReadFailureMessage(path, opened, 0));
  size_ = info.st_size;
  fd_ = fd.release();
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
