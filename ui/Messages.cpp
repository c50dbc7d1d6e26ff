// Message boxes.
#include "ui/Messages.h"

#include <QApplication>
#include <QMessageBox>

#include "ui/Text1251.h"

namespace pagelathe {
namespace {

MessageSink& Sink() {
  static MessageSink sink;
  return sink;
}

}  // namespace

void SetMessageSink(MessageSink sink) {
  Sink() = std::move(sink);
}

void ShowMessage(const std::string& text, QWidget* parent) {
  if (Sink()) return Sink()(text, false);
  QMessageBox::information(parent, QApplication::applicationDisplayName(), ToQ(text));
}

void ShowError(const std::string& text, QWidget* parent) {
  if (Sink()) return Sink()(text, true);
  QMessageBox::critical(parent, QApplication::applicationDisplayName(), ToQ(text));
}

}  // namespace pagelathe
