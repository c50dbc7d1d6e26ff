// Folder listings for the file lists of the pages: the visible files of one folder that match
// the masks of a file-type chooser, sorted without regard to letter case.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pagelathe {

// One entry of a file-type chooser: its description and its masks ("*.htm;*.shtm").
struct FileFilter {
  std::string description;
  std::string masks;
};

// Splits "Text files (*.txt)|*.txt|All files (*.*)|*.*" into its pairs; a description without
// masks gets "*.*".
[[nodiscard]] std::vector<FileFilter> ParseFilter(std::string_view filter);

// Wildcard match of one file name against one mask ("*" any run, "?" one byte), without
// regard to letter case. A mask whose extension is three or more plain characters also matches
// longer extensions that begin with them, as the file lists always did: "*.htm" matches
// "a.html", "*.shtm" matches "a.shtml", "*.txt" does not match "a.tx".
[[nodiscard]] bool MatchesMask(std::string_view name, std::string_view mask);

// True when `name` matches one of the masks joined by ";" (blanks around a mask ignored).
[[nodiscard]] bool MatchesMasks(std::string_view name, std::string_view masks);

// One entry of a folder as the file system lists it: its name and its kind as the listing
// gives it (a DT_ value of <dirent.h>; DT_UNKNOWN when the file system does not say).
struct FolderEntry {
  std::string name;
  unsigned char type;
};

// The entries of `folder` ("." and ".." left out) in the file system's order. An unreadable or
// missing folder gives none.
[[nodiscard]] std::vector<FolderEntry> ReadFolderEntries(const std::string& folder);

// The entries of the open folder `folder` into `entries` (fdopendir on a descriptor of its
// own, so `folder` stays as it was). 0, or the errno of a folder that could not be read (what
// was read before the failure is kept).
int ReadFolderEntriesAt(int folder, std::vector<FolderEntry>& entries);

// The names (not paths) of the regular files among `entries` of the open folder `folder` whose
// names match `masks`, hidden files (a leading ".") left out, sorted without regard to letter
// case by the names as they are shown (platform/Letters.h); the names keep their bytes. Links
// are followed to see what they name; a dangling link is left out. `folder` is
// looked at only for entries whose kind the listing left open (NeedsLookUp), and may be -1
// when there are none.
[[nodiscard]] std::vector<std::string> FilesAmong(int folder, std::vector<FolderEntry> entries,
                                                  std::string_view masks);
[[nodiscard]] bool NeedsLookUp(const std::vector<FolderEntry>& entries);

// The file list of a folder (a path of any length; "" is the current folder).
[[nodiscard]] std::vector<std::string> ListFiles(const std::string& folder, std::string_view masks);

}  // namespace pagelathe
