// Exceptions from handlers end here.
#include "app/Application.h"

#include "ui/Messages.h"

namespace pagelathe {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName("brevanoth-pagelathe");
  setOrganizationName("Brevanoth");
}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowError(error.what(), activeWindow());
  } catch (...) {
    ShowError("Unknown error", activeWindow());
  }
  return false;
}

}  // namespace pagelathe
