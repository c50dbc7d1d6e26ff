// The GUI boundary: texts are Windows-1251 bytes inside the program and QStrings on screen.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace pagelathe {

// Windows-1251 bytes to a QString for display.
[[nodiscard]] QString ToQ(std::string_view bytes);

// The bytes of a document, or of a line of one, for display: read as UTF-8 when they are a
// UTF-8 document by the platform's rule (IsUtf8Document), else as Windows-1251. The bytes
// themselves are never changed; this is only how they look.
[[nodiscard]] QString DocumentToQ(std::string_view bytes);

// A QString typed by the user to Windows-1251 bytes; a character outside the code page
// becomes "?".
[[nodiscard]] std::string FromQ(const QString& text);

}  // namespace pagelathe
