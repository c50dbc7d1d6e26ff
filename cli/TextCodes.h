// The code of the texts a command reads and prints. Every text `pagelathe` prints is UTF-8,
// whatever the code of the document it came from; a text given on the command line, like a
// document of a tool that works on letters, is UTF-8 when its bytes are valid UTF-8 and is
// decoded from Windows-1251 otherwise (the platform's one rule). The outputs that keep a
// document's bytes (links --raw, convert) and pages (which say their own charset) are the
// exceptions, and say so.
#pragma once

#include <string>

namespace pagelathe::cli {

// A text from the command line, in UTF-8.
[[nodiscard]] std::string ArgumentText(std::string bytes);

}  // namespace pagelathe::cli
