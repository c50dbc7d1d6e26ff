// The settings reader on any settings file: every key reads as a value or its default, and
// writing what was read and reading it again gives the same settings (texts that a write cannot
// keep as they are, with blanks or quotes at their ends, aside); a folder of any bytes written
// into it reads back exactly.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/IniFile.h"
#include "settings/AppSettings.h"

namespace {

bool IsBlank(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 0x09 && u <= 0x0D) || u == 0x1A || u == 0x20;
}

bool Keeps(const std::string& text) {
  if (text.empty()) return true;
  if (IsBlank(text.front()) || IsBlank(text.back())) return false;
  return !(text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
           text.back() == text.front());
}

void SameText(const std::string& first, const std::string& again) {
  if (Keeps(first) && first != again) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string folder = "/program/";
  pagelathe::IniFile ini = pagelathe::IniFile::FromBytes(bytes);
  const pagelathe::AppSettings first = pagelathe::ReadAppSettings(ini, folder);
  pagelathe::WriteAppSettings(ini, first);
  const pagelathe::AppSettings again =
      pagelathe::ReadAppSettings(pagelathe::IniFile::FromBytes(ini.Text()), folder);
  if (first.FirstStart != again.FirstStart || first.CharsPerLine != again.CharsPerLine ||
      first.SearchType != again.SearchType || first.LinkType != again.LinkType ||
      first.ViewOption != again.ViewOption || first.SubDirs != again.SubDirs ||
      first.SortLinks != again.SortLinks || first.NoHttp != again.NoHttp ||
      first.UpdateServer != again.UpdateServer)
    std::abort();
  SameText(first.LanguageName, again.LanguageName);
  SameText(first.LinksFolder, again.LinksFolder);
  SameText(first.SourceFolder, again.SourceFolder);
  SameText(first.ResultFolder, again.ResultFolder);
  SameText(first.KeywordsFolder, again.KeywordsFolder);
  SameText(first.RememberedUrl, again.RememberedUrl);

  // A folder of any bytes (a path holds no NUL) comes back exactly, whatever else the file holds.
  std::string any(bytes);
  std::erase(any, '\0');
  pagelathe::AppSettings chosen = first;
  chosen.SourceFolder = any;
  pagelathe::WriteAppSettings(ini, chosen);
  if (pagelathe::ReadAppSettings(pagelathe::IniFile::FromBytes(ini.Text()), folder).SourceFolder !=
      any)
    std::abort();
  return 0;
}
