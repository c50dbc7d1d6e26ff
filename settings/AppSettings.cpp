// The settings table and the three walks over it.
#include "settings/AppSettings.h"

#include <type_traits>
#include <variant>

#include "platform/IniFile.h"

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
      if constexpr (kIs<decltype(value), std::string>)
        value = ini.ReadString(kOptionsSection, key.name, DefaultText(key, program_folder));
      else if constexpr (kIs<decltype(value), bool>)
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
        ini.WriteString(kOptionsSection, key.name, value);
      else if constexpr (kIs<decltype(value), bool>)
        ini.WriteBool(kOptionsSection, key.name, value);
      else
        ini.WriteInteger(kOptionsSection, key.name, value);
    });
  }
}

}  // namespace pagelathe
