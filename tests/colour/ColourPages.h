// What the colour page tests share: a shown main window in a temporary program folder, typing
// into an edit key by key, and reading the images and the memo as the user sees them.
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

#include "app/TForm1.h"
#include "support/GuiTest.h"
#include "support/TempFolder.h"
#include "ui/Text1251.h"

namespace pagelathe::testing {

class ShownForm {
 public:
  ShownForm() {
    folder_.Write("brevanoth-pagelathe.ini", "[Options]\r\nfirstStart=0\r\n");
    form_ = std::make_unique<TForm1>(folder_.Path());
    form_->show();
    RecordedMessages().clear();
  }
  TForm1& operator*() { return *form_; }
  TForm1* operator->() { return form_.get(); }

 private:
  TempFolder folder_;
  std::unique_ptr<TForm1> form_;
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
