// Reading a user's input in pieces, for tools that stream a document instead of holding it:
// a regular file with the same checks as ReadUserFile (opened without blocking, a size over the
// limit refused before a byte is read), or a stream the user asked for (standard input, a
// FIFO named as input), which is read until its writer closes it, up to the same limit.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/FileIO.h"
#include "platform/FileRead.h"

namespace pagelathe {

class UserFileStream {
 public:
  // What may be opened besides a regular file.
  enum class Accept { kRegularOnly, kRegularOrFifo };

  // Opens `path` for reading. A folder, a device or a socket is refused (kNotRegular); so is a
  // FIFO unless `accept` allows it, in which case it is read like standard input.
  ReadResult Open(const std::string& path, Accept accept, uint64_t limit = kDocumentLimit);
  // The same for the file `name` of the open folder `folder`.
  ReadResult OpenAt(int folder, const std::string& name, Accept accept,
                    uint64_t limit = kDocumentLimit);
  // Reads standard input (whatever it is: a pipe, a terminal, a file) up to `limit`.
  ReadResult OpenStandardInput(uint64_t limit = kDocumentLimit);

  // Reads up to `capacity` bytes into `buffer`. 0 at the end of the input. On a failure (a
  // read error, or more bytes than the limit) it returns 0 and Status() tells why.
  size_t Read(char* buffer, size_t capacity);

  // A read that a signal interrupts gives up (kReadError, EINTR) once `stop` is set, so that
  // a stream whose writer never comes does not outlast an interrupt.
  void SetStop(const std::atomic<bool>* stop) { stop_ = stop; }

  // Back to the first byte, for a second pass over a regular file (false for a stream).
  bool Rewind();

  [[nodiscard]] bool IsStream() const { return stream_; }
  [[nodiscard]] const ReadResult& Status() const { return status_; }
  [[nodiscard]] uint64_t Limit() const { return limit_; }

 private:
  ReadResult Opened(int folder, const std::string& name, Accept accept, uint64_t limit);

  Descriptor owned_;
  int fd_ = -1;
  bool stream_ = false;
  bool poll_first_ = false;  // a FIFO: wait for its writer before each read
  uint64_t limit_ = kDocumentLimit;
  uint64_t total_ = 0;
  ReadResult status_;
  const std::atomic<bool>* stop_ = nullptr;
};

}  // namespace pagelathe
