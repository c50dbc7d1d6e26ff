// INI profile files with the Windows profile rules: case-insensitive sections and keys,
// blanks trimmed around values, one pair of matching quotes removed, and writes that replace
// a key's line in place while every other line stays as it was.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pagelathe {

class IniFile {
 public:
  // Reads `path` once; a missing or unreadable file is an empty profile.
  explicit IniFile(std::string path);
  // Writes pending changes (errors are swallowed here; call UpdateFile to see them).
  ~IniFile();
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  // The value of `key`, or `fallback` when the section or key is missing or the key's line
  // has no "=". "key=" gives the empty text. "\" a \"" gives " a ".
  [[nodiscard]] std::string ReadString(std::string_view section, std::string_view key,
                                       const std::string& fallback) const;
  // The value parsed as a whole integer ("12abc" gives the fallback).
  [[nodiscard]] int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
  // The integer read with default 1 or 0, true when not 0.
  [[nodiscard]] bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

  // Sets a key: replaces its line, or adds it after the last line of its section, or adds the
  // section at the end of the file. Blanks at the start of the value are dropped.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int value);
  void WriteBool(std::string_view section, std::string_view key, bool value);

  // Writes the changed profile to its file through a temporary file (no-op when unchanged).
  // Raises EFileError naming the file when it cannot be written.
  void UpdateFile();

  // The whole profile as it would be written: every line ending with CR LF.
  [[nodiscard]] std::string Text() const;
  [[nodiscard]] const std::string& FileName() const { return path_; }

 private:
  struct Found {
    long section_line = -1;  // the header line of the first section of that name
    long key_line = -1;      // the first line of that key in it
    long last_line = -1;     // the last non-blank line of the section
  };
  Found Find(std::string_view section, std::string_view key) const;

  std::string path_;
  std::vector<std::string> lines_;
  bool dirty_ = false;
};

}  // namespace pagelathe
