// Reading a user's file without surprises: the file is opened without blocking (a pipe or a
// terminal in its place answers at once), only a regular file is read, and one larger than a
// stated limit is refused before its bytes are read, so a FIFO, a link to a device or a huge
// sparse file can neither hang the program nor exhaust its memory. Every read of a file the
// user gave or placed goes through here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/FileIO.h"

namespace pagelathe {

// The largest document a tool reads (a page, a text, a file to convert).
inline constexpr uint64_t kDocumentLimit = uint64_t{1} << 30;  // 1 GiB
// The largest settings file, language file, exclusion list or keyword file.
inline constexpr uint64_t kProfileLimit = uint64_t{64} << 20;  // 64 MiB

enum class ReadStatus {
  kOk,
  kCannotOpen,  // missing, no permission ... (the system's reason is kept)
  kNotRegular,  // a folder, a pipe, a device, a socket
  kTooLarge,    // over the limit
  kNoMemory,    // the bytes could not be held
  kReadError,   // the system refused a read (the system's reason is kept)
};

struct ReadResult {
  ReadStatus status = ReadStatus::kOk;
  int error = 0;  // errno for kCannotOpen and kReadError
  [[nodiscard]] bool ok() const { return status == ReadStatus::kOk; }
};

// The message for a failed read, naming the file. Examples:
//   Cannot open file "/a/b.txt". No such file or directory
//   Cannot read file "/a/fifo.txt". It is not a regular file.
//   Cannot read file "/a/huge.txt". It is larger than 1024 MB.
//   Cannot read file "/a/big.txt". Not enough memory.
[[nodiscard]] std::string ReadFailureMessage(const std::string& path, ReadResult result,
                                             uint64_t limit);

// The bytes of the regular file `path`, at most `limit` of them. Raises EFileError with the
// message above when the file cannot be read whole.
[[nodiscard]] std::string ReadUserFile(const std::string& path, uint64_t limit = kDocumentLimit);

// The text of the file for a tool that works on letters: ReadUserFile, then decoded by the one
// rule (platform/Utf8.h): valid UTF-8 as it is, anything else from Windows-1251.
[[nodiscard]] std::string ReadUserText(const std::string& path, uint64_t limit = kDocumentLimit);

// The same into `bytes` (left empty on failure), without raising.
ReadResult TryReadUserFile(const std::string& path, uint64_t limit, std::string& bytes);

// How OpenUserFile opens a file: for reading or for writing at its end, whether a FIFO is
// taken besides a regular file (to be read as a stream, which has no size to check), and the
// largest regular file taken.
struct UserFileAccess {
  enum class Mode { kRead, kAppend };
  Mode mode = Mode::kRead;
  bool fifo = false;
  uint64_t limit = UINT64_MAX;
};

// The one open of a user's file, which every read of one (and the socket client's appends)
// goes through: opened without blocking, so that a FIFO without a writer or a reader cannot
// hold the open itself; then anything but a regular file (or a FIFO that `access` allows) is
// refused (kNotRegular), and so is a regular file larger than the limit (kTooLarge), before a
// byte is read. `folder` is an open folder that `name` is relative to, or AT_FDCWD for a path
// of any length (OpenPath). On success `fd` holds the file, still non-blocking, and `info`
// tells what it is; on failure `fd` is left closed.
ReadResult OpenUserFile(int folder, const std::string& name, const UserFileAccess& access,
                        Descriptor& fd, struct stat& info);

// Storage for file bytes that comes straight from the system as whole pages, all of them in
// place at once, so that reading into it never stops at a page not yet touched (a buffer is
// kept for many files, so its one system call does not count). This gives it back.
struct FileStorageRelease {
  size_t length;
  void operator()(char* data) const;
};

// The bytes of one file in storage that is kept from one file to the next (never cleared
// before a read, so a read costs only the copy from the system). For reading many files, as
// the folder search does.
class FileBuffer {
 public:
  [[nodiscard]] std::string_view View() const { return {data_.get(), size_}; }
  [[nodiscard]] size_t size() const { return size_; }
  void Clear() { size_ = 0; }  // keeps the storage
  void swap(FileBuffer& other) noexcept;

  // Reads the file `name` of the open folder `folder` (AT_FDCWD for a path of its own) whole,
  // with the rules above; on failure the buffer is empty. The kind of the file is asked only
  // once the first 64 KB are full or when it reads as empty: a file a listing named as regular
  // that reads short is taken as it stands (a pipe put in its place since, with bytes waiting,
  // reads short without harm), so most documents cost one open, one read and one close.
  ReadResult ReadAt(int folder, const std::string& name, uint64_t limit = kDocumentLimit);

 private:
  void Grow(size_t capacity);  // raises std::bad_alloc

  std::unique_ptr<char[], FileStorageRelease> data_;
  size_t capacity_ = 0;
  size_t size_ = 0;
};

}  // namespace pagelathe
