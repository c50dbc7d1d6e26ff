// A temporary folder for one test, removed with everything in it when the test ends.
#pragma once

#include <sys/types.h>

#include <string>

namespace pagelathe::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path with a final "/".
  [[nodiscard]] const std::string& Path() const { return path_; }
  // Path() + name.
  [[nodiscard]] std::string operator/(const std::string& name) const { return path_ + name; }

  // Writes a file below the folder (creating sub-folders) and returns its full path.
  std::string Write(const std::string& name, const std::string& bytes) const;
  // Creates a sub-folder (and its parents) and returns its full path with a final "/".
  std::string MakeFolder(const std::string& name) const;
  // Makes `levels` folders `name`, each inside the one before, in the sub-folder `under` (made
  // when missing), however long the path gets, and the file `file` with `bytes` inside the
  // deepest. Returns the deepest folder's path, with a final "/".
  std::string MakeDeepFolder(const std::string& under, const std::string& name, int levels,
                             const std::string& file, const std::string& bytes) const;
  // Reads a file below the folder; empty when missing.
  [[nodiscard]] std::string Read(const std::string& name) const;

 private:
  std::string path_;
};

}  // namespace pagelathe::testing

namespace pagelathe::testing {

// While alive, every write that would make a file longer than `bytes` fails (EFBIG), for
// root as for anyone: the way tests make a save fail without relying on folder permissions,
// which root ignores.
class ScopedFileSizeLimit {
 public:
  explicit ScopedFileSizeLimit(unsigned long bytes);
  ~ScopedFileSizeLimit();
  ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
  ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

 private:
  unsigned long old_soft_;
  void (*old_handler_)(int);
};

// The process's umask, read from /proc without changing it (changing it would race every
// other thread of the test process that creates a file).
mode_t CurrentUmask();

}  // namespace pagelathe::testing
