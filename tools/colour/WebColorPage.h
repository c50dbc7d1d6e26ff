// The Web Color page: red, green and blue from track bars or typed values, shown as a swatch
// and as the colour code of HTML.
#pragma once

#include "tools/colour/ColorControls.h"
#include "ui/ToolPage.h"

class QGroupBox;
class QLabel;
class QLineEdit;

namespace pagelathe {

class WebColorPage : public ToolPage {
  Q_OBJECT
 public:
  explicit WebColorPage(PageContext& context, QWidget* parent = nullptr);

  // The window's first show: each edit receives its track bar's position, then the swatch and
  // the code follow the colour.
  void FirstShow() override;

  // Fills the swatch with the track bars' colour and writes its code.
  void UpdateWebColor();

  // (The red, green and blue rows' track bars and edits have one handler each for all three
  // rows, as on the Gradient Text page: TrackBarChange and EditChange below.)

 private:
  // A track bar moved: only a move by the user (the bar has the keyboard focus) writes the
  // position into the edit; a position set from the edit does not write back, so "007" stays.
  void TrackBarChange(const ColorRow& row);
  // An edit changed: a value from 0 to 255 moves its track bar; an empty text or a value out of
  // range changes nothing; a text that is no integer raises EConvertError.
  void EditChange(const ColorRow& row);

  QGroupBox* GroupBox1 = nullptr;
  ColorRow red_;    // LabelRedWeb, TrackBarRedWeb, EditRedWeb
  ColorRow green_;  // LabelGreenWeb ...
  ColorRow blue_;   // LabelBlueWeb ...
  QLabel* ImageWebColor = nullptr;
  QLabel* LabelWebColor = nullptr;
  QLineEdit* EditWebColor = nullptr;
};

}  // namespace pagelathe
