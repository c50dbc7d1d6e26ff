// Exceptions from handlers end here.
#include "app/Application.h"

#include <malloc.h>

#include "ui/Messages.h"

namespace pagelathe {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  // Blocks of 256 KB and more always come straight from the system, which can grow them in
  // place. Left to itself, the allocator raises that bound after large blocks are freed, and
  // the text of a memo of a hundred megabytes then grows by copying its block map, holding the
  // window for a tenth of a second at a time.
  mallopt(M_MMAP_THRESHOLD, 256 * 1024);
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
