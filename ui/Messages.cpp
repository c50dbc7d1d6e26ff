// Message boxes.
#include "ui/Messages.h"

#include <QMessageBox>

#include "ui/QtText.h"

namespace pagelathe {
namespace {

MessageSink& Sink() {
  static MessageSink sink;
  return sink;
}

std::string& Title() {
  static std::string title;
  return title;
}

}  // namespace

void SetApplicationTitle(const std::string& title) {
  Title() = title;
}

std::string ApplicationTitle() {
  return Title();
}

void SetMessageSink(MessageSink sink) {
  Sink() = std::move(sink);
}

void ShowMessage(const std::string& text, QWidget* parent) {
  if (Sink()) return Sink()(text, false);
  QMessageBox::information(parent, ToQ(Title()), PathToQ(text));  // file names shown decoded
}

void ShowError(const std::string& text, QWidget* parent) {
  if (Sink()) return Sink()(text, true);
  QMessageBox::critical(parent, ToQ(Title()), PathToQ(text));
}

}  // namespace pagelathe
