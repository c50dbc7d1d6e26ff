// Pieces that both colour pages build from: a row of a bold coloured label, a 0..255 track
// bar and a three-character edit; image swatches filled with one colour; and the guard that
// hands a handler's error to the error box instead of letting it unwind through Qt.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <exception>

#include "ui/Messages.h"

class QGridLayout;
class QLabel;
class QLineEdit;
class QSlider;

namespace pagelathe {

struct ColorRow {
  QLabel* Label = nullptr;
  QSlider* TrackBar = nullptr;
  QLineEdit* Edit = nullptr;
};

// Adds one row to `grid` at `row`: Label<part><suffix>, TrackBar<part><suffix> at `position`
// and Edit<part><suffix> (empty until the window is shown), e.g. LabelRedWeb, TrackBarRedWeb,
// EditRedWeb. `part` is "Red", "Green" or "Blue"; the label wears that colour.
ColorRow AddColorRow(QGridLayout* grid, int row, const char* part, const char* suffix,
                     int position);

// An image of exactly `width` x `height` pixels, named `name`.
QLabel* CreateImage(const char* name, int width, int height, QWidget* parent = nullptr);

// Fills the whole image with one colour.
void FillImage(QLabel* image, const QColor& color);

// Runs a handler that Qt called; an error is shown in the error box over `owner`'s window and
// the event goes on, as the message loop does for every handler.
template <typename Handler>
void RunHandler(QWidget* owner, Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowError(error.what(), owner->window());
  }
}

}  // namespace pagelathe
