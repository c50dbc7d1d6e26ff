// The GUI boundary: texts are UTF-8 inside the program and QStrings on screen, through
// QString::fromUtf8 and toUtf8 in this one pair of functions.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace pagelathe {

// A UTF-8 text for display.
[[nodiscard]] QString ToQ(std::string_view utf8);

// A text typed by the user, in UTF-8; every character is kept.
[[nodiscard]] std::string FromQ(const QString& text);

// The bytes of a document, a line of one or a file name, for display: decoded by the
// platform's rule (valid UTF-8 as it is, else Windows-1251). The bytes themselves are never
// changed; this is only how they look.
[[nodiscard]] QString DocumentToQ(std::string_view bytes);

}  // namespace pagelathe
