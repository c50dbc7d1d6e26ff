// Files of the socket client's transfers besides the received ones (those replace their file
// through platform/AtomicFile.h): a file to send, read from its start in pieces, and an existing
// file that received bytes are appended to. Both are opened without blocking and must be regular
// files, so a pipe or a device named as either is refused at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pagelathe {

// An existing regular file opened for writing at its end. Raises EFileError naming the file.
class FileAppender {
 public:
  explicit FileAppender(const std::string& path);
  ~FileAppender();
  FileAppender(const FileAppender&) = delete;
  FileAppender& operator=(const FileAppender&) = delete;
  void Write(const char* data, size_t count);

 private:
  std::string path_;
  int fd_ = -1;
};

// A regular file read from its start in pieces. Raises EFileError naming the file.
class FileSource {
 public:
  explicit FileSource(const std::string& path);
  ~FileSource();
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;
  [[nodiscard]] size_t Read(char* buffer, size_t count);
  [[nodiscard]] bool AtEnd() const { return position_ >= size_; }
  [[nodiscard]] int64_t Size() const { return size_; }

 private:
  std::string path_;
  int fd_ = -1;
  int64_t size_ = 0;
  int64_t position_ = 0;
};

// The size of a regular file; raises EFileError naming the file when it cannot be opened.
[[nodiscard]] int64_t FileSizeOf(const std::string& path);

}  // namespace pagelathe
