// Text lists: ordered lines of UTF-8 texts (or, for the tools that keep a document's bytes,
// of its bytes), loaded from and saved to files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/FileRead.h"
#include "platform/Utf8.h"

namespace pagelathe {

using TextList = std::vector<std::string>;

// Splits bytes into lines at CR LF, CR or LF; a NUL byte ends the text. A final line break
// does not start an empty last line: "a\r\nb\r\n" is {"a", "b"}, "a\n\nb" is {"a", "", "b"}.
[[nodiscard]] TextList SplitLines(std::string_view bytes);

// Every line followed by CR LF, the last one included.
[[nodiscard]] std::string JoinLines(const TextList& lines);

// All lines joined as the text of a memo: lines separated by CR LF, the last one ended too.
// (Same bytes as JoinLines; named for the places that treat a list as one text.)
[[nodiscard]] inline std::string ListText(const TextList& lines) {
  return JoinLines(lines);
}

// Loads a file's lines as text through ReadUserText (platform/FileRead.h): decoded from
// Windows-1251 when the file is not valid UTF-8. A file that is not a regular file or is
// larger than `limit` is refused at once. Raises EFileError naming the file when it cannot be
// read.
[[nodiscard]] TextList LoadTextList(const std::string& path, uint64_t limit = kDocumentLimit);

// Saves every line followed by CR LF, replacing the file through a temporary file. The lines
// are written as they are (UTF-8 texts, or a document's own bytes).
void SaveTextList(const TextList& lines, const std::string& path,
                  Durability durability = Durability::kCached);

// Saves text lines in `encoding` (the one the file was read in): Windows-1251 when every
// character has a byte there, else UTF-8, so that nothing is lost.
void SaveTextList(const TextList& lines, const std::string& path, TextEncoding encoding,
                  Durability durability = Durability::kCached);

// Saves text lines in the encoding the file at `path` has now (UTF-8 when it is missing or
// cannot be read), as SaveTextList with that encoding: a hand-kept Windows-1251 list stays
// Windows-1251 until a line needs a character the code page lacks.
void SaveTextListInItsEncoding(const TextList& lines, const std::string& path,
                               Durability durability = Durability::kCached);

// Loads a file's lines as text and says which encoding the file was in.
[[nodiscard]] TextList LoadTextList(const std::string& path, uint64_t limit,
                                    TextEncoding& encoding);

}  // namespace pagelathe
