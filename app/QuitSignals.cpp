// A self-pipe turns the signals into an event on the window's thread.
#include "app/QuitSignals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <csignal>

namespace pagelathe {
namespace {

int g_pipe[2] = {-1, -1};
QPointer<QWidget>& Target() {
  static QPointer<QWidget> target;
  return target;
}

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
}

void CloseEverything() {
  // Modal dialogs first, innermost first; each runs its own close rule. Their event loops
  // return before the main window goes.
  if (QWidget* modal = QApplication::activeModalWidget()) {
    modal->close();
    QTimer::singleShot(0, [] { CloseEverything(); });
    return;
  }
  if (QWidget* window = Target()) {
    window->close();
  } else {
    QCoreApplication::quit();
  }
}

}  // namespace

void SetQuitSignalWindow(QWidget* window) {
  Target() = window;
}

void InstallQuitSignals() {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0) return;
  auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, qApp);
  QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
    char buffer[16];
    [[maybe_unused]] const ssize_t n = ::read(g_pipe[0], buffer, sizeof buffer);
    CloseEverything();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

}  // namespace pagelathe
