// The application object: one place where every exception escaping an event handler is
// caught, shown in a message box, and the event loop goes on.
#pragma once

#include <QApplication>

namespace pagelathe {

class Application : public QApplication {
  Q_OBJECT
 public:
  Application(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace pagelathe
