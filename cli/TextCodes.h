// The code of the texts a command prints. The tools work on Windows-1251 texts; a text given
// on the command line, and a document of a tool that works on letters, is UTF-8 when its bytes
// say so (the platform's UTF-8 document rule) and is then converted to Windows-1251 for the
// tool. What the tool makes of it goes out in UTF-8 again unless the locale asks for a code
// page of letters: the codeset of LC_CTYPE (nl_langinfo after setlocale(LC_CTYPE, "")) being
// neither UTF-8 nor the plain ASCII of the C locale. A text that came in Windows-1251 goes out
// with its own bytes; so does every document of the tools that pass bytes through.
#pragma once

#include <string>
#include <string_view>

namespace pagelathe::cli {

// Reads the locale once; call at start.
void ReadOutputCode();

// True when UTF-8 input should be given back as UTF-8 (see above).
[[nodiscard]] bool OutputWantsUtf8();

// A text for a letter tool, and whether it came as UTF-8.
struct LetterText {
  std::string text;  // Windows-1251
  bool utf8 = false;
};
[[nodiscard]] LetterText ToLetterText(std::string bytes);

// A text a letter tool made, for output: back to UTF-8 when the input was UTF-8 and the
// output wants it, else as it is.
[[nodiscard]] std::string ForOutput(std::string text, bool input_was_utf8);

}  // namespace pagelathe::cli
