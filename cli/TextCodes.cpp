// Output codes from the locale.
#include "cli/TextCodes.h"

#include <langinfo.h>

#include <clocale>

#include "platform/Utf8.h"

namespace pagelathe::cli {
namespace {

bool g_utf8_out = true;

}  // namespace

void ReadOutputCode() {
  std::setlocale(LC_CTYPE, "");
  const std::string codeset = nl_langinfo(CODESET);
  g_utf8_out = codeset == "UTF-8" || codeset == "ANSI_X3.4-1968";
  std::setlocale(LC_CTYPE, "C");  // nothing else of the program may depend on the locale
}

bool OutputWantsUtf8() {
  return g_utf8_out;
}

LetterText ToLetterText(std::string bytes) {
  if (!IsUtf8Document(bytes)) return {std::move(bytes), false};
  return {Utf8To1251(bytes), true};
}

std::string ForOutput(std::string text, bool input_was_utf8) {
  if (!input_was_utf8 || !g_utf8_out) return text;
  return Win1251ToUtf8(text);
}

}  // namespace pagelathe::cli
