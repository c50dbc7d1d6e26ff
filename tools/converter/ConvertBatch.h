// The batch conversion: every listed file of the source folder (and, when asked, the matching
// files of each sub-folder) converted from HTML to text or from text to HTML, one output file
// per input in the result folder. Runs on a worker thread; stops between files.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "platform/FolderWalk.h"
#include "platform/TextList.h"
#include "tools/converter/HtmlText.h"

namespace pagelathe {

enum ConvertDirection { kHtmlToText = 0, kTextToHtml = 1 };

// The choices of the page, read from its controls when a batch starts.
struct ConvertOptions {
  std::string SourceFolder;
  std::string ResultFolder;
  int Direction = kHtmlToText;
  bool ScanSubfolders = false;
  bool LimitLines = false;
  int CharsPerLine = 75;
  std::string Mask = "*.htm;*.shtm";  // the file list's masks, applied to sub-folders too
  std::string Generator;              // the main window's title, written into HTML pages
  std::string Separator = std::string(kSeparatorText);
};

// What a batch tells its caller while it runs. Every member may be unset. All are called on
// the batch's own thread.
struct ConvertObserver {
  // The folder walk ended: the whole folder list (source folder first) and its counters.
  std::function<void(const TextList& folders, const FolderCounters& counters)> FoldersCollected;
  // A file was converted (only with ScanSubfolders): its listed name and the pass's position,
  // 0 to 100 (100 * index / count of the pass, the first file giving 0).
  std::function<void(const std::string& name, int position)> Progress;
  // A file was skipped: a message that names it and says why.
  std::function<void(const std::string& message)> Skipped;
};

struct ConvertResult {
  int Converted = 0;
  int Skipped = 0;
  bool Stopped = false;
};

// The output lines for one joined input text. HTML to text without the limit: one line
// holding HtmlToText, or none when that is empty; with the limit, the text without tags and
// double blanks (the nine replacements skipped) cut to CharsPerLine. Text to HTML: the page
// template with the base name as title, keywords, description and heading, and the joined
// text as its one body line; both are read as text (decoded from Windows-1251 when they are
// not valid UTF-8), so the page's lines are UTF-8. HTML to text keeps the document's bytes.
[[nodiscard]] TextList ConvertText(const ConvertOptions& options, const std::string& joined,
                                   const std::string& base_name);

// The bytes of the output file: the lines of ConvertText, each followed by CR LF; a page in
// the charset it declares (HtmlPageBytes: Windows-1251 when every character has a byte there,
// else UTF-8).
[[nodiscard]] std::string ConvertedBytes(const ConvertOptions& options, const std::string& joined,
                                         const std::string& base_name);

// The output file name of a listed name: its base name with ".txt" or ".html".
[[nodiscard]] std::string OutputName(const ConvertOptions& options, const std::string& name);

// The result folder with one final "/" ("" gives "/").
[[nodiscard]] std::string OutputFolder(const std::string& result_folder);

// One pass: converts the files `names` of `input_folder` into `output_folder` (which ends
// with "/"). A file that cannot be read or written, or whose output would be the input file
// itself, is skipped and reported; the pass goes on. `stop` is tested before each file.
ConvertResult ConvertFolderPass(const ConvertOptions& options, const std::string& input_folder,
                                const std::string& output_folder,
                                const std::vector<std::string>& names,
                                const std::atomic<bool>* stop, const ConvertObserver& observer);

// The whole batch. `names` are the listed names of the source folder. `folder_list` holds the
// source folder as its first entry; with ScanSubfolders the walk appends the sub-folders and
// counts into `counters`. The first pass converts `names`; the pass of a sub-folder converts
// its own files that match Mask, into the same relative folder below the result folder
// (created when missing).
ConvertResult ConvertFiles(const ConvertOptions& options, const std::vector<std::string>& names,
                           TextList& folder_list, FolderCounters& counters,
                           const std::atomic<bool>* stop, const ConvertObserver& observer);

// The message shown after a batch that skipped files: a first line, then one line per skipped
// file, at most `limit` of them, and a last line counting the others.
[[nodiscard]] std::string SkippedFilesMessage(const std::vector<std::string>& skipped,
                                              size_t limit = 20);

}  // namespace pagelathe
