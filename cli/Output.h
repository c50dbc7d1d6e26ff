// Where a command writes its result: standard output, or a file named by the user. A regular
// file (or one that does not exist yet) is replaced through the temporary-file writer, so it
// is never left half-written: until Commit the old file stays whole, and a failure or an
// interrupt removes the temporary file. Anything else (/dev/null, a FIFO, a terminal) is
// written directly and never renamed over.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/AtomicFile.h"
#include "platform/FileIO.h"

namespace pagelathe::cli {

class Output {
 public:
  // Standard output.
  Output();
  // The file `path`; "-" is standard output. Raises EFileError naming the file when it cannot
  // be created.
  explicit Output(const std::string& path);
  ~Output();
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  // Buffered: bytes reach the file in large pieces. Raises EFileError naming the file.
  void Write(std::string_view bytes);
  // Flushes and, for a replaced file, puts it in place. Nothing may be written after it.
  void Commit();

  [[nodiscard]] const std::string& Name() const { return name_; }
  // The descriptor written directly (-1 when a replaced file is written).
  [[nodiscard]] int Descriptor() const { return fd_; }

 private:
  void Flush();
  void WriteDirect(std::string_view bytes);

  std::string name_;
  std::unique_ptr<AtomicFile> file_;
  pagelathe::Descriptor owned_;
  int fd_ = -1;
  std::string buffer_;
};

}  // namespace pagelathe::cli
