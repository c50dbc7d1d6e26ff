// SIGTERM and SIGINT close the main window as the user would, so the settings are written.
#pragma once

class QWidget;

namespace pagelathe {

// Routes SIGTERM and SIGINT to the event loop: open modal dialogs are closed the way their
// own close does, then `window` is closed. Call once, after the application object exists.
void CloseOnQuitSignals(QWidget* window);

}  // namespace pagelathe
