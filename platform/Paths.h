// Where the program lives: its own folder, its settings file, the process's current folder.
#pragma once

#include <string>

namespace pagelathe {

// Full path of the running executable (from /proc/self/exe).
[[nodiscard]] std::string ExecutablePath();

// The folder part of a path, with its final "/": "/opt/bp/brevanoth-pagelathe" -> "/opt/bp/".
[[nodiscard]] std::string FolderOf(const std::string& path);

// The executable's path with its extension replaced by ".ini" (added when it has none).
[[nodiscard]] std::string SettingsFileFor(const std::string& executable_path);

// The process's current folder, without a final "/" (as the system reports it).
[[nodiscard]] std::string CurrentFolder();

}  // namespace pagelathe
