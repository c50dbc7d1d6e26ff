// Reading and writing the "Options" section, key by key in the table's order.
#include "app/AppSettings.h"

#include "platform/IniFile.h"

namespace pagelathe {

AppSettings ReadAppSettings(const IniFile& ini, const std::string& program_folder) {
  const char* s = kOptionsSection;
  AppSettings a;
  a.Language = ini.ReadString(s, "Language", "English");
  a.FirstStart = ini.ReadBool(s, "firstStart", true);
  a.Folder = ini.ReadString(s, "Folder", program_folder);
  a.SourceFolder = ini.ReadString(s, "Source Folder", program_folder);
  a.ResultFolder = ini.ReadString(s, "Result Folder", program_folder);
  a.DirKW = ini.ReadString(s, "DirKW", program_folder + "keywords");
  a.CharsPerLine = ini.ReadInteger(s, "Chars Per Line", 75);
  a.Link = ini.ReadString(s, "Link", "");
  a.SearchType = ini.ReadInteger(s, "Search Type", 3);
  a.LinkType = ini.ReadInteger(s, "Link Type", 1);
  a.ViewOption = ini.ReadInteger(s, "View Option", 0);
  a.SubDirs = ini.ReadInteger(s, "Sub Dirs", 1);
  a.SortLinks = ini.ReadInteger(s, "Sort Links", 1);
  a.NoHttp = ini.ReadInteger(s, "No Http", 0);
  a.UpdateServer = ini.ReadString(s, "Update Server", "");
  return a;
}

void WriteAppSettings(IniFile& ini, const AppSettings& a) {
  const char* s = kOptionsSection;
  ini.WriteString(s, "Language", a.Language);
  ini.WriteBool(s, "firstStart", a.FirstStart);
  ini.WriteString(s, "Folder", a.Folder);
  ini.WriteString(s, "Source Folder", a.SourceFolder);
  ini.WriteString(s, "Result Folder", a.ResultFolder);
  ini.WriteString(s, "DirKW", a.DirKW);
  ini.WriteInteger(s, "Chars Per Line", a.CharsPerLine);
  ini.WriteString(s, "Link", a.Link);
  ini.WriteInteger(s, "Search Type", a.SearchType);
  ini.WriteInteger(s, "Link Type", a.LinkType);
  ini.WriteInteger(s, "View Option", a.ViewOption);
  ini.WriteInteger(s, "Sub Dirs", a.SubDirs);
  ini.WriteInteger(s, "Sort Links", a.SortLinks);
  ini.WriteInteger(s, "No Http", a.NoHttp);
}

}  // namespace pagelathe
