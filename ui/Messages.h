// Message boxes that tests can answer: one place that shows an error or an information text.
#pragma once

#include <functional>
#include <string>

class QWidget;

namespace pagelathe {

// The title of the message boxes: the program's name and version. It is kept here rather than
// as Qt's application display name, which the desktop would append to every window title.
void SetApplicationTitle(const std::string& title);
[[nodiscard]] std::string ApplicationTitle();

// Shows `text` (Windows-1251) in a modal message box over `parent`.
void ShowMessage(const std::string& text, QWidget* parent = nullptr);
// Shows an error text in a modal message box; every exception escaping a handler ends here.
void ShowError(const std::string& text, QWidget* parent = nullptr);

// Replaces both boxes (tests record the texts instead of showing a window). Pass nothing to
// restore the real boxes.
using MessageSink = std::function<void(const std::string& text, bool is_error)>;
void SetMessageSink(MessageSink sink);

}  // namespace pagelathe
