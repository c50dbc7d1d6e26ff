// Replacing a user's file as a whole. The new bytes go to a temporary file beside the target,
// which Commit renames over it: until then, and whatever fails, the old file stays whole, and
// the temporary file never outlives the writer. Every file the program writes for the user
// (settings, exclusion list, saved lists and pages, converted files, downloads) goes through
// this one class.
//
// What survives a power cut: a rename is safe against a crash of the program, not of the
// machine, since the system may write the new file's bytes after the rename. The files that
// are small and precious, the settings file and the exclusion list, are written kSynced: the
// new file's data reach the disk before the rename, and the folder's entry after it. Every
// other file is kCached and left to the system, so that a batch of thousands of converted
// files does not wait for the disk once per file.
#pragma once

#include <fcntl.h>

#include <string>
#include <string_view>

#include "platform/FileIO.h"

namespace pagelathe {

class AtomicFile {
 public:
  // Starts replacing `path` (or creating it). A symbolic link is followed, so the file it
  // points to is replaced and the link stays a link. The replaced file keeps its permissions;
  // a new file gets the usual ones (0666 less the umask, which is never changed). Raises
  // EFileError naming `path` when it has no name, is a folder or another file that is not a
  // regular file (a device, a pipe), or when its folder cannot take the temporary file.
  //
  // The temporary file is a hidden name of its own beside the target, held under a lock while
  // it is written, so a leftover of a run that was killed meanwhile is recognised and removed
  // when the same file is next written, and two writers of one file never share one.
  explicit AtomicFile(const std::string& path, Durability durability = Durability::kCached);
  // The same for the file `name` of the open folder `folder`, which must stay open while the
  // writer lives; messages name the file `shown` (its path, which may be too long to open).
  AtomicFile(int folder, const std::string& name, const std::string& shown,
             Durability durability = Durability::kCached);
  // Removes the temporary file unless Commit ran; the target is then untouched.
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Appends bytes to the new file (straight to the system: buffer small pieces yourself).
  // Raises EFileError naming the file.
  void Write(std::string_view bytes);

  // Puts the new file in the target's place. Raises EFileError naming the file (the temporary
  // file is then gone and the old file whole; for kSynced, a folder that could not be synced
  // after the rename is reported with the new file in place). Nothing may be written after it.
  void Commit();

  // The path as given, and the file that is replaced (the end of its chain of links).
  [[nodiscard]] const std::string& Path() const { return path_; }
  [[nodiscard]] const std::string& Target() const { return target_; }

 private:
  void Begin();
  [[noreturn]] void Fail(const char* what, int error);

  int folder_ = AT_FDCWD;  // or the folder that the names are relative to
  Durability durability_;
  std::string path_;
  std::string target_;
  std::string temp_;
  Descriptor fd_;
  bool committed_ = false;
};

// The file at the end of the chain of symbolic links that starts at `path` (`path` itself when
// it is not a link; a link to a missing file gives that file's path). Raises EFileError naming
// `path` for a loop of links.
[[nodiscard]] std::string FollowLinks(const std::string& path);

}  // namespace pagelathe
