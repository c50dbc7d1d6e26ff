// The GUI boundary: texts are UTF-8 inside the program and QStrings on screen, through
// QString::fromUtf8 and toUtf8 in this one pair of functions. Documents and file names are
// bytes; they are shown decoded and keep their bytes.
#pragma once

#include <QString>
#include <string>
#include <string_view>

class QLineEdit;

namespace pagelathe {

// A UTF-8 text for display.
[[nodiscard]] QString ToQ(std::string_view utf8);

// A text typed by the user, in UTF-8; every character is kept.
[[nodiscard]] std::string FromQ(const QString& text);

// The bytes of a document, a line of one or a file name, for display: decoded by the
// platform's rule (valid UTF-8 as it is, else Windows-1251). The bytes themselves are never
// changed; this is only how they look.
[[nodiscard]] QString DocumentToQ(std::string_view bytes);

// A path for display: each of its parts decoded on its own (ShownName, platform/Utf8.h).
[[nodiscard]] QString PathToQ(std::string_view bytes);

// A folder or file path in an edit: shown as PathToQ, and read back with the very bytes it was
// given for as long as its text stays as shown; a path the user typed is the UTF-8 they typed.
void SetPathText(QLineEdit* edit, const std::string& path);
[[nodiscard]] std::string PathText(const QLineEdit* edit);

// The bytes of a path that a Qt file dialog gives. Qt shows a name that is not valid UTF-8
// with U+FFFD in place of its bytes, so a part that does not exist as it reads is found among
// the entries of its folder by the way Qt shows them; a part found nowhere (a new file's name)
// stays as it reads.
[[nodiscard]] std::string PathFromDialog(const QString& path);

}  // namespace pagelathe
