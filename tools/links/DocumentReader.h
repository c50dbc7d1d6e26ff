// Reading the documents of a folder search. The reader goes through a list of folders: for
// each, the names the file list shows (masks, no hidden files, sorted without regard to case),
// and of those the documents (by extension), each read whole into one buffer that is reused.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileIO.h"
#include "platform/FileRead.h"
#include "platform/FolderList.h"
#include "platform/FolderWalk.h"
#include "platform/TextList.h"

namespace pagelathe {

// ".txt", ".htm", ".html", ".shtm", ".shtml", ".php", in this order.
extern const char* const kDocumentExtensions[6];

// True when the extension of `name` (from its last "."), lower-cased, is a document extension.
// Example: "Index.HTML" is one, "notes.txt.bak" and "README" are not.
[[nodiscard]] bool IsDocumentFile(std::string_view name);

// The bytes of one document, in storage kept from one document to the next.
class DocumentBuffer : public FileBuffer {
 public:
  // Reads the file `name` of the open folder `folder` whole (platform/FileRead.h). False, with
  // the buffer empty, when it cannot be opened or read, is not a regular file (a folder, a
  // device, a pipe; none of these is ever waited on), is over the document limit or cannot be
  // held in memory.
  bool ReadFileAt(int folder, const std::string& name) { return ReadAt(folder, name).ok(); }
};

class DocumentReader {
 public:
  // One step of the reading: either the start of a folder (before its listing is read; no
  // bytes), one document of it, or a failure (no bytes; `failure` names the path and says
  // why): a document that could not be read (missing since the listing, a pipe or a device
  // put in its place, over the document limit, memory refused), or a folder that could not be
  // opened or read (then `name` is the folder's path).
  struct Item {
    bool folder_start = false;
    size_t folder = 0;  // index in the folder list
    std::string name;   // the document's name (not its path)
    int percent = 0;    // 100 * (its place in the folder's list) / (the list's length)
    std::string failure;
    DocumentBuffer document;
  };

  // `folders` must outlive the reader. `tree` holds their places, parallel to `folders`, as
  // WalkFolders made them (SingleFolderTree for one folder): each folder is opened relative
  // to the one it is in, and the listings the walk kept are filtered instead of listing the
  // folders again. Stopping is seen between two documents.
  DocumentReader(const TextList& folders, FolderTree tree, std::string masks,
                 const std::atomic<bool>* stop);
  DocumentReader(const DocumentReader&) = delete;
  DocumentReader& operator=(const DocumentReader&) = delete;

  // The next step into `item`, reading a document into its buffer (so swap the buffer out to
  // keep a document's bytes). False at the end, or once stopped.
  bool Next(Item& item);

 private:
  [[nodiscard]] bool Stopped() const;
  // The descriptor of the current folder, opened at its first need (most folders hold no
  // document); -1 when it cannot be, with the failure to tell (if not told) in `failure_`.
  int Folder();
  // Lists the current folder's names (none when it cannot be read), its failure in `failure_`.
  void ListFolder();
  void Fail(Item& item, const std::string& name, std::string failure);

  const TextList& folders_;
  FolderTree tree_;
  FolderOpener opener_;
  const std::string masks_;
  const std::atomic<bool>* const stop_;
  size_t folder_ = 0;
  bool in_folder_ = false;
  bool listed_ = false;
  std::vector<std::string> names_;
  size_t next_name_ = 0;
  int folder_fd_ = -1;
  bool folder_failed_ = false;
  std::string failure_;  // a folder's failure, told at the next step
};

}  // namespace pagelathe
