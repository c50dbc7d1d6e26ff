// The batch conversion: every listed file of the source folder (and, when asked, the matching
// files of each sub-folder) converted from HTML to text or from text to HTML, one output file
// per input in the result folder. Runs on a worker thread; stops between files and between
// the pieces of a large one.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "platform/FolderWalk.h"
#include "platform/TextList.h"
#include "tools/converter/ConvertStream.h"

namespace pagelathe {

// What a batch tells its caller while it runs. Every member may be unset. All are called on
// the batch's own thread.
struct ConvertObserver {
  // The folder walk ended: the whole folder list (source folder first) and its counters.
  std::function<void(const TextList& folders, const FolderCounters& counters)> FoldersCollected;
  // A file was converted (only with ScanSubfolders): its listed name and the pass's position,
  // 0 to 100 (100 * index / count of the pass, the first file giving 0).
  std::function<void(const std::string& name, int position)> Progress;
  // A file or a folder was skipped: a message that names it and says why.
  std::function<void(const std::string& message)> Skipped;
};

struct ConvertResult {
  int Converted = 0;
  int Skipped = 0;
  bool Stopped = false;
};

// The output file name of a listed name: its base name with ".txt" or ".html".
[[nodiscard]] std::string OutputName(const ConvertOptions& options, const std::string& name);

// The result folder with one final "/" ("" gives "/").
[[nodiscard]] std::string OutputFolder(const std::string& result_folder);

// The whole batch. `names` are the listed names of the source folder. `folder_list` holds the
// source folder as its first entry; with ScanSubfolders the walk appends the sub-folders and
// counts into `counters`. The first pass converts `names`; the pass of a sub-folder converts
// its own files that match Mask, into the same relative folder below the result folder
// (created when missing). Each file is converted while it is read (ConvertStream) and its
// output replaces the old one only when complete. A file that cannot be read or written, or
// whose output would be the input file itself, and a folder that cannot be opened or read,
// are skipped and reported; the batch goes on. Folders are opened relative to the folder they
// are in, so a tree of any depth is converted. `stop` is tested before each file and between
// the pieces of one; a file stopped half way leaves its old output as it was.
ConvertResult ConvertFiles(const ConvertOptions& options, const std::vector<std::string>& names,
                           TextList& folder_list, FolderCounters& counters,
                           const std::atomic<bool>* stop, const ConvertObserver& observer);

// The message shown after a batch that skipped files: a first line, then one line per skipped
// file, at most `limit` of them, and a last line counting the others.
[[nodiscard]] std::string SkippedFilesMessage(const std::vector<std::string>& skipped,
                                              size_t limit = 20);

}  // namespace pagelathe
