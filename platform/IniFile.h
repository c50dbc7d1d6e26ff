// INI profile files with the Windows profile rules: case-insensitive sections and keys,
// blanks trimmed around values, one pair of matching quotes removed, and writes that replace
// a key's line in place while every other line stays as it was. Names and values are UTF-8;
// the file is UTF-8, or Windows-1251 when its bytes are not valid UTF-8, and keeps its
// encoding until a value needs a character that Windows-1251 lacks: then the whole file is
// written in UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileRead.h"
#include "platform/Utf8.h"

namespace pagelathe {

class IniFile {
 public:
  // Reads `path` once, through TryReadUserFile (platform/FileRead.h), so a pipe or a device in
  // its place answers at once. A missing file is an empty profile that a write creates. A file
  // that exists but cannot be read (not a regular file, larger than `limit`, no permission)
  // also reads as empty, and is never written over: ReadError() says why, and UpdateFile
  // raises instead of replacing the user's file with one made of defaults.
  explicit IniFile(std::string path, uint64_t limit = kProfileLimit);
  // A profile of these bytes, with no file behind it (UpdateFile then raises).
  [[nodiscard]] static IniFile FromBytes(std::string_view bytes);
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
  // section at the end of the file. Blanks at the start of the value are dropped. Bytes that
  // are not valid UTF-8 are taken for Windows-1251 text, as a file's would be.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int value);
  void WriteBool(std::string_view section, std::string_view key, bool value);

  // Writes the changed profile to its file through a temporary file (no-op when unchanged).
  // Raises EFileError naming the file when it cannot be written.
  void UpdateFile();

  // The whole profile as it would be written: every line ending with CR LF, and from the first
  // NUL byte on the bytes as they were read. Reading stops at a NUL, as for any text file, but
  // what follows it is kept: a write never loses what it did not read.
  [[nodiscard]] std::string Text() const;
  [[nodiscard]] const std::string& FileName() const { return path_; }
  // The encoding the file is written in (UTF-8 for a new file).
  [[nodiscard]] TextEncoding Encoding() const { return encoding_; }
  // The message naming the file when it exists but could not be read; empty otherwise.
  [[nodiscard]] const std::string& ReadError() const { return read_error_; }

 private:
  struct Bytes {
    std::string_view bytes;
  };
  explicit IniFile(Bytes bytes);
  void Load(std::string_view bytes);

  struct Found {
    long section_line = -1;  // the header line of the first section of that name
    long key_line = -1;      // the first line of that key in it
    long last_line = -1;     // the last non-blank line of the section
  };
  Found Find(std::string_view section, std::string_view key) const;

  std::string path_;
  TextEncoding encoding_ = TextEncoding::kUtf8;
  std::vector<std::string> lines_;  // the lines before the first NUL byte, in UTF-8
  std::string tail_;                // the first NUL byte and everything after it
  bool tail_joins_ = false;  // no line break between the last line and the tail: none is added
  std::string read_error_;
  bool dirty_ = false;
};

}  // namespace pagelathe
