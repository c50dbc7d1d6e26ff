// main() of the widget tests: an application object on the offscreen platform, and message
// boxes recorded instead of shown (a modal box would stop the test).
#include <gtest/gtest.h>

#include <QTimer>

#include "app/Application.h"
#include "support/GuiTest.h"
#include "ui/Messages.h"

namespace pagelathe::testing {

void CloseNextModal() {
  auto* timer = new QTimer(qApp);
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, timer, [timer] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      modal->close();
      timer->deleteLater();
    }
  });
  timer->start();
}

std::vector<RecordedMessage>& RecordedMessages() {
  static std::vector<RecordedMessage> messages;
  return messages;
}

}  // namespace pagelathe::testing

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  pagelathe::Application app(argc, argv);
  pagelathe::SetMessageSink([](const std::string& text, bool is_error) {
    pagelathe::testing::RecordedMessages().push_back({text, is_error});
  });
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
