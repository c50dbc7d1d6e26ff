// Conversion between Windows-1251 bytes and QString, through the platform's code page table.
#include "ui/Text1251.h"

#include "platform/Utf8.h"
#include "platform/Win1251.h"

namespace pagelathe {

QString ToQ(std::string_view bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (char c : bytes)
    text.append(QChar(static_cast<char16_t>(CodePointOf1251(static_cast<unsigned char>(c)))));
  return text;
}

QString DocumentToQ(std::string_view bytes) {
  if (IsUtf8Document(bytes))
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
  return ToQ(bytes);
}

std::string FromQ(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
      bytes += '?';  // a character outside the basic plane: never in the code page
      ++i;
      continue;
    }
    const int byte = ByteOfCodePoint1251(c.unicode());
    bytes += byte < 0 ? '?' : static_cast<char>(byte);
  }
  return bytes;
}

}  // namespace pagelathe
