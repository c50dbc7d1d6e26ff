// The settings file: section "Options" beside the executable, read once when the main window
// is created and written once when it closes. One table (AppSettings.cpp) holds every key in
// the file's order with its type and its default; the defaults, the reading and the writing
// all come from it.
#pragma once

#include <string>

namespace pagelathe {

class IniFile;

// The values of the settings file while the program runs. The first ones are the main
// window's settings fields; the others fill and are taken from the pages' controls.
struct AppSettings {
  std::string LanguageName;    // "Language": "English" or "Russian"
  bool FirstStart = false;     // "firstStart", the only boolean key
  std::string LinksFolder;     // "Folder": the Links Grabber's folder
  std::string SourceFolder;    // "Source Folder"
  std::string ResultFolder;    // "Result Folder"
  std::string KeywordsFolder;  // "DirKW"
  int CharsPerLine = 0;        // "Chars Per Line": the converter's line-length limit
  std::string RememberedUrl;   // "Link": the last address typed into the URL edit
  int SearchType = 0;          // "Search Type": selected index of the protocol list
  int LinkType = 0;            // "Link Type": selected index of the link type group
  int ViewOption = 0;          // "View Option": selected index of the view group
  int SubDirs = 0;             // "Sub Dirs" (an integer, not a boolean)
  int SortLinks = 0;           // "Sort Links"
  int NoHttp = 0;              // "No Http"
  std::string UpdateServer;    // "Update Server": read, never written; empty for the built-in
  std::string CaFile;  // "CA File": an authority trusted besides the system's (https); read only
};

inline constexpr const char* kOptionsSection = "Options";

// Every key at its default. `program_folder` ends with "/"; the folder keys start there.
[[nodiscard]] AppSettings DefaultAppSettings(const std::string& program_folder);

// Reads every key in the table's order; missing keys and non-numbers where a number belongs
// give the defaults.
[[nodiscard]] AppSettings ReadAppSettings(const IniFile& ini, const std::string& program_folder);

// Writes every key of the table but "Update Server", in the table's order.
void WriteAppSettings(IniFile& ini, const AppSettings& settings);

}  // namespace pagelathe
