// Files of the socket client's transfers: a received file is written beside the file it
// replaces and renamed over it only when the transfer has ended, so a failed or canceled
// transfer leaves the old file whole; files to send are read in pieces.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pagelathe {

class FileSink {
 public:
  // Raises EFileError naming the file when it cannot be created.
  explicit FileSink(const std::string& path);
  ~FileSink();  // removes the unfinished file unless Commit ran
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;

  void Write(const char* data, size_t count);
  // Puts the finished file in place of the old one.
  void Commit();

 private:
  std::string path_;
  std::string temp_;
  int fd_ = -1;
};

// An existing file opened for writing at its end.
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

// A file read from its start in pieces.
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

// The size of a file; raises EFileError naming the file when it cannot be opened.
[[nodiscard]] int64_t FileSizeOf(const std::string& path);

}  // namespace pagelathe
