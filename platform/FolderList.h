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

// The names (not paths) of the regular files of `folder` whose names match `masks`, hidden
// files (a leading ".") left out, sorted without regard to letter case. An unreadable or
// missing folder gives an empty list.
[[nodiscard]] std::vector<std::string> ListFiles(const std::string& folder, std::string_view masks);

}  // namespace pagelathe
