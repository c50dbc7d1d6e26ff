// SIGTERM and SIGINT close the main window as the user would, so the settings are written.
#pragma once

class QWidget;

namespace pagelathe {

// Routes SIGTERM and SIGINT to the event loop: open modal dialogs are closed the way their
// own close does, then the main window is closed. Call once, right after the application
// object exists, so that a signal that comes during start-up is not lost.
void InstallQuitSignals();

// The window that the signals close (until it is set, a signal quits the event loop).
void SetQuitSignalWindow(QWidget* window);

}  // namespace pagelathe
