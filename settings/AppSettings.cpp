// The settings table and the three walks over it.
#include "settings/AppSettings.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "platform/IniFile.h"
#include "platform/Utf8.h"

namespace pagelathe {
namespace {

using Field = std::variant<std::string AppSettings::*, int AppSettings::*, bool AppSettings::*>;

struct SettingKey {
  const char* name;
  Field field;
  const char* text = "";  // a text key's default; a folder key's default below the folder
  bool in_program_folder = false;
  int number = 0;  // a number or flag key's default
  bool written = true;
};

SettingKey Text(const char* name, std::string AppSettings::*field, const char* value) {
  return {name, field, value};
}
SettingKey Folder(const char* name, std::string AppSettings::*field, const char* below = "") {
  return {name, field, below, true};
}
SettingKey Number(const char* name, int AppSettings::*field, int value) {
  return {name, field, "", false, value};
}
SettingKey Flag(const char* name, bool AppSettings::*field, bool value) {
  return {name, field, "", false, value ? 1 : 0};
}
SettingKey ReadOnly(SettingKey key) {
  key.written = false;
  return key;
}

const SettingKey kKeys[] = {
    Text("Language", &AppSettings::LanguageName, "English"),
    Flag("firstStart", &AppSettings::FirstStart, true),
    Folder("Folder", &AppSettings::LinksFolder),
    Folder("Source Folder", &AppSettings::SourceFolder),
    Folder("Result Folder", &AppSettings::ResultFolder),
    Folder("DirKW", &AppSettings::KeywordsFolder, "keywords"),
    Number("Chars Per Line", &AppSettings::CharsPerLine, 75),
    Text("Link", &AppSettings::RememberedUrl, ""),
    Number("Search Type", &AppSettings::SearchType, 3),  // "http://", the fourth protocol
    Number("Link Type", &AppSettings::LinkType, 1),      // "Domen"
    Number("View Option", &AppSettings::ViewOption, 0),  // "Link"
    Number("Sub Dirs", &AppSettings::SubDirs, 1),
    Number("Sort Links", &AppSettings::SortLinks, 1),
    Number("No Http", &AppSettings::NoHttp, 0),
    // Where the update check asks, when the file names another service (a mirror, a test).
    ReadOnly(Text("Update Server", &AppSettings::UpdateServer, "")),
    // A PEM file of a private certificate authority that https servers may be signed by.
    ReadOnly(Text("CA File", &AppSettings::CaFile, "")),
};

std::string DefaultText(const SettingKey& key, const std::string& program_folder) {
  return key.in_program_folder ? program_folder + key.text : std::string(key.text);
}

// Calls `visitor` with the key's field of `settings` (an AppSettings, const or not).
template <typename Settings, typename Visitor>
void VisitField(const SettingKey& key, Settings& settings, Visitor visitor) {
  std::visit([&](auto member) { visitor(settings.*member); }, key.field);
}

// A folder is bytes, and the settings file is text. A folder that a plain value cannot carry
// exactly is written so that it reads back byte for byte: with blanks at an end, or in quotes of
// its own, in a pair of quotes (the reader removes one pair); when it is not valid UTF-8 (a
// name from a Windows-1251 disk), holds a line break or another control character, or looks
// like such a value itself, as a file URL whose bytes
// beyond plain letters, digits and "/-._~" are written %XX.
constexpr std::string_view kFileUrl = "file://";

bool IsBlankByte(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 0x09 && u <= 0x0D) || u == 0x1A || u == 0x20;
}

bool IsPlainUrlByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/' ||
         c == '-' || c == '.' || c == '_' || c == '~';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string StoredFolder(const std::string& folder) {
  const bool control = std::any_of(folder.begin(), folder.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x20; });
  if (control || !IsValidUtf8(folder) || folder.starts_with(kFileUrl)) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url(kFileUrl);
    for (const char c : folder) {
      if (IsPlainUrlByte(c)) {
        url += c;
      } else {
        const auto u = static_cast<unsigned char>(c);
        url += '%';
        url += kHex[u >> 4];
        url += kHex[u & 15];
      }
    }
    return url;
  }
  if (folder.empty()) return folder;
  const bool quoted = folder.size() >= 2 && (folder.front() == '"' || folder.front() == '\'') &&
                      folder.back() == folder.front();
  if (IsBlankByte(folder.front()) || IsBlankByte(folder.back()) || quoted)
    return '"' + folder + '"';
  return folder;
}

std::string FolderFromStored(const std::string& value) {
  if (!value.starts_with(kFileUrl)) return value;
  std::string folder;
  folder.reserve(value.size());
  for (size_t i = kFileUrl.size(); i < value.size(); ++i) {
    const int high = value[i] == '%' && i + 2 < value.size() ? HexValue(value[i + 1]) : -1;
    const int low = high >= 0 ? HexValue(value[i + 2]) : -1;
    if (low >= 0) {
      folder += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      folder += value[i];  // a "%" of no code stands for itself
    }
  }
  return folder;
}

template <typename Value, typename T>
constexpr bool kIs = std::is_same_v<std::remove_cvref_t<Value>, T>;

}  // namespace

AppSettings DefaultAppSettings(const std::string& program_folder) {
  AppSettings settings;
  for (const SettingKey& key : kKeys) {
    VisitField(key, settings, [&](auto& value) {
      if constexpr (kIs<decltype(value), std::string>)
        value = DefaultText(key, program_folder);
      else if constexpr (kIs<decltype(value), bool>)
        value = key.number != 0;
      else
        value = key.number;
    });
  }
  return settings;
}

AppSettings ReadAppSettings(const IniFile& ini, const std::string& program_folder) {
  AppSettings settings;
  for (const SettingKey& key : kKeys) {
    VisitField(key, settings, [&](auto& value) {
      if constexpr (kIs<decltype(value), std::string>) {
        value = ini.ReadString(kOptionsSection, key.name, DefaultText(key, program_folder));
        if (key.in_program_folder) value = FolderFromStored(value);
      } else if constexpr (kIs<decltype(value), bool>)
        value = ini.ReadBool(kOptionsSection, key.name, key.number != 0);
      else
        value = ini.ReadInteger(kOptionsSection, key.name, key.number);
    });
  }
  return settings;
}

void WriteAppSettings(IniFile& ini, const AppSettings& settings) {
  for (const SettingKey& key : kKeys) {
    if (!key.written) continue;
    VisitField(key, settings, [&](auto& value) {
      if constexpr (kIs<decltype(value), std::string>)
        ini.WriteString(kOptionsSection, key.name,
                        key.in_program_folder ? StoredFolder(value) : value);
      else if constexpr (kIs<decltype(value), bool>)
        ini.WriteBool(kOptionsSection, key.name, value);
      else
        ini.WriteInteger(kOptionsSection, key.name, value);
    });
  }
}

}  // namespace pagelathe
