// Helpers for widget tests: recorded message boxes, finding controls by name, and a main
// window in a temporary program folder.
#pragma once

#include <gtest/gtest.h>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <string>
#include <vector>

namespace pagelathe::testing {

struct RecordedMessage {
  std::string text;
  bool is_error = false;
};

// Every message and error box since the test program started (tests clear it as they need).
std::vector<RecordedMessage>& RecordedMessages();

// The child of `root` with this objectName and type; fails the test when there is none.
template <typename T>
T* Find(QObject* root, const char* name) {
  T* found = root->findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(found, nullptr) << "no control named " << name;
  return found;
}

// Processes events until `condition` holds or `ms` pass; returns the condition. The default
// is generous: a large case under the sanitizers, beside other tests, takes well over 10 s.
template <typename Condition>
bool WaitFor(Condition condition, int ms = 60000) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

}  // namespace pagelathe::testing

namespace pagelathe::testing {

// Closes the modal dialog that the next step opens, as its title-bar close would, once it is
// up; for steps that show a modal window (the first-start language choice, a message box).
void CloseNextModal();

}  // namespace pagelathe::testing
