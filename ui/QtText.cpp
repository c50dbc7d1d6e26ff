// Conversion between UTF-8 texts and QString, and the bytes of paths shown on screen.
#include "ui/QtText.h"

#include <sys/stat.h>

#include <QFile>
#include <QLineEdit>
#include <QStringList>
#include <QVariant>

#include "platform/FolderList.h"
#include "platform/Utf8.h"
#include "platform/Win1251.h"

namespace pagelathe {
namespace {

constexpr const char* kPathBytes = "pathBytes";
constexpr const char* kPathShown = "pathShown";

bool Exists(const std::string& path) {
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0;
}

}  // namespace

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

QString PathToQ(std::string_view bytes) {
  return ToQ(ShownName(bytes));
}

void SetPathText(QLineEdit* edit, const std::string& path) {
  const QString shown = PathToQ(path);
  edit->setProperty(kPathBytes, QByteArray(path.data(), static_cast<qsizetype>(path.size())));
  edit->setProperty(kPathShown, shown);
  edit->setText(shown);
}

std::string PathText(const QLineEdit* edit) {
  const QString text = edit->text();
  if (edit->property(kPathShown).toString() == text && !text.isEmpty()) {
    const QByteArray bytes = edit->property(kPathBytes).toByteArray();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
  }
  return FromQ(text);
}

std::string PathFromDialog(const QString& path) {
  std::string bytes = FromQ(path);
  if (bytes.empty() || Exists(bytes)) return bytes;
  bytes.clear();
  const QStringList parts = path.split(QLatin1Char('/'));
  for (qsizetype i = 0; i < parts.size(); ++i) {
    if (i > 0) bytes += '/';
    std::string part = FromQ(parts[i]);
    if (!part.empty() && !Exists(bytes + part)) {
      for (FolderEntry& entry : ReadFolderEntries(bytes.empty() ? "." : bytes)) {
        const QByteArray name(entry.name.data(), static_cast<qsizetype>(entry.name.size()));
        if (QFile::decodeName(name) == parts[i]) {
          part = std::move(entry.name);
          break;
        }
      }
    }
    bytes += part;
  }
  return bytes;
}

}  // namespace pagelathe
