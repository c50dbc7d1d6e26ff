// Shared helpers of the shell's widget tests.
#include "LanguageFixture.h"

#include <gtest/gtest.h>
#include <QTimer>
#include <cstdlib>

#include "platform/FileRead.h"

namespace pagelathe::testing {

std::string ShippedLanguageFile(const std::string& name) {
  const char* source = std::getenv("PAGELATHE_SOURCE_DIR");
  if (!source || !*source) source = PAGELATHE_SOURCE_TREE;
  return ReadUserFile(std::string(source) + "/language/" + name + ".ini");
}

void WriteSettings(const TempFolder& folder, const std::string& extra_lines) {
  folder.Write("brevanoth-pagelathe.ini", "[Options]\r\nfirstStart=0\r\n" + extra_lines);
}

void ShipLanguageFiles(const TempFolder& folder) {
  for (const char* name : {"English", "Russian"})
    folder.Write(std::string("language/") + name + ".ini", ShippedLanguageFile(name));
}

void WriteLanguageFile(const TempFolder& folder, const std::string& name,
                       const std::string& lines) {
  folder.Write("language/" + name + ".ini", "[Interface]\r\n" + lines);
}

void WhenShown(QDialog* dialog, std::function<void()> action) {
  auto* timer = new QTimer(dialog);
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, dialog, [dialog, timer, action] {
    if (!dialog->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    action();
  });
  timer->start();
}

}  // namespace pagelathe::testing
