// Conversion between UTF-8 texts and QString.
#include "ui/QtText.h"

#include "platform/Utf8.h"
#include "platform/Win1251.h"

namespace pagelathe {

QString ToQ(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string FromQ(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString DocumentToQ(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return ToQ(bytes);
  return ToQ(Win1251ToUtf8(bytes));
}

}  // namespace pagelathe
