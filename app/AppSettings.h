// The settings file: section "Options" beside the executable. Every key with its type and
// default; read once when the main window is created, written once when it closes.
#pragma once

#include <string>

namespace pagelathe {

class IniFile;

struct AppSettings {
  std::string Language = "English";  // "Language"
  bool FirstStart = true;            // "firstStart" (the only boolean key)
  std::string Folder;                // "Folder", default the program folder
  std::string SourceFolder;          // "Source Folder", default the program folder
  std::string ResultFolder;          // "Result Folder", default the program folder
  std::string DirKW;                 // "DirKW", default program folder + "keywords"
  int CharsPerLine = 75;             // "Chars Per Line"
  std::string Link;                  // "Link"
  int SearchType = 3;                // "Search Type": index of "http://"
  int LinkType = 1;                  // "Link Type": "Domen"
  int ViewOption = 0;                // "View Option": "Link"
  int SubDirs = 1;                   // "Sub Dirs" (integer, not boolean)
  int SortLinks = 1;                 // "Sort Links"
  int NoHttp = 0;                    // "No Http"
  // Not written back: where the update check asks, when the file names one.
  std::string UpdateServer;  // "Update Server"
};

inline constexpr const char* kOptionsSection = "Options";

// Reads every key in the order of the settings table; missing keys and non-numbers where a
// number belongs give the defaults. `program_folder` ends with "/".
[[nodiscard]] AppSettings ReadAppSettings(const IniFile& ini, const std::string& program_folder);

// Writes every key in the order of the settings table.
void WriteAppSettings(IniFile& ini, const AppSettings& settings);

}  // namespace pagelathe
