// What the colour page tests share: a page built on a page context of its own and shown as a
// window, without the main window; typing into an edit key by key; and reading the images and
// the memo as the user sees them.
#pragma once

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <memory>
#include <string>
#include <vector>

#include "support/GuiTest.h"
#include "ui/PageContext.h"
#include "ui/QtText.h"

namespace pagelathe::testing {

// A page as the main window's first show leaves it, with no main window around it: built on a
// context of its own, shown, and its first-show step run.
template <typename Page>
class ShownPage {
 public:
  ShownPage() : page_(context_) {
    page_.show();
    page_.FirstShow();
    RecordedMessages().clear();
  }
  Page& operator*() { return page_; }
  Page* operator->() { return &page_; }
  [[nodiscard]] PageContext& Context() { return context_; }

  // Gives the page's window and then `widget` the keyboard focus, as a click on it does.
  bool Focus(QWidget* widget) {
    page_.activateWindow();
    QApplication::setActiveWindow(&page_);
    widget->setFocus(Qt::MouseFocusReason);
    return WaitFor([widget] { return widget->hasFocus(); });
  }

 private:
  PageContext context_;
  Page page_;
};

// Empties the edit, then types `text` one key at a time, as the user does.
inline void Type(QLineEdit* edit, const std::string& text) {
  edit->clear();
  for (char c : text) {
    const QString key = QString(QChar::fromLatin1(c));
    const int code = key.toUpper().at(0).unicode();  // Qt's key codes of printable ASCII
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, key);
    QApplication::sendEvent(edit, &press);
    QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, key);
    QApplication::sendEvent(edit, &release);
  }
}

inline QImage ImageOf(const QLabel* image) {
  return image->pixmap().toImage();
}

inline QColor PixelAt(const QLabel* image, int x, int y) {
  return ImageOf(image).pixelColor(x, y);
}

// True when every pixel of the image has this colour.
inline bool IsFilledWith(const QImage& image, const QColor& color) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) != color) return false;
  return !image.isNull();
}

inline std::vector<std::string> MemoLines(const QPlainTextEdit* memo) {
  std::vector<std::string> lines;
  const QString text = memo->toPlainText();
  if (text.isEmpty()) return lines;
  for (const QString& line : text.split('\n'))
    lines.push_back(FromQ(line));
  return lines;
}

inline std::string Text(const QLineEdit* edit) {
  return FromQ(edit->text());
}

}  // namespace pagelathe::testing
