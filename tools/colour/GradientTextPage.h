// The Gradient Text page: a text as HTML whose letters run from a start colour to an end
// colour, regenerated whenever an input changes, with a preview of the coloured letters.
#pragma once

#include <QImage>
#include <QStringList>
#include <string>

#include "tools/colour/ColorControls.h"
#include "tools/colour/GradientText.h"
#include "ui/ToolPage.h"

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace pagelathe {

class TPanel;

class GradientTextPage : public ToolPage {
  Q_OBJECT
 public:
  explicit GradientTextPage(PageContext& context, QWidget* parent = nullptr);

  // Fills ComboBoxFontType with the installed font families (FontFamilyNames: no foundry
  // tags, each once, in order) and selects the seventh, or the last when there are fewer than
  // seven. Filling runs no generator.
  void FillFontList();
  void FillFontList(const QStringList& families);

  // The generator: empties the memo, whitens the preview, fills the swatches, then writes the
  // HTML lines and draws the letters. A text of one character has no colour step: the output
  // is only cleared. A font size that is no integer raises EConvertError with the memo empty.
  void BuildGradientText();

  // The window's first show: fills the font list, runs the generator, then each colour edit
  // receives its track bar's position, the start colour first.
  void FirstShow() override;

  // The handlers of the inputs that are not colour rows. (A colour row's track bar and edit
  // have one handler each for all six rows: TrackBarChange and EditChange below.)
  void EditFontSizeChange();
  void ComboBoxFontTypeChange();
  void EditTextChange();

  // The preview as last drawn.
  [[nodiscard]] const QImage& PreviewImage() const { return preview_; }

 private:
  // One colour group: its box, its red, green and blue rows, and its swatch.
  struct ColourGroup {
    QGroupBox* Box = nullptr;
    ColorRow Rows[3];
    QLabel* Swatch = nullptr;
    [[nodiscard]] RgbColor Color() const;
  };

  ColourGroup CreateColorGroup(const char* name, const char* caption, const char* suffix,
                               const int (&positions)[3]);
  // A start or end track bar moved (by the user or the program): its edit receives the
  // position, then the generator runs.
  void TrackBarChange(const ColorRow& row);
  // A colour edit changed: a value from 0 to 255 moves its track bar (which writes the value
  // back, so "007" becomes "7"); an empty text or a value out of range changes nothing.
  void EditChange(const ColorRow& row);
  void ClearOutput();
  void FillSwatches();
  void DrawPreview(const GradientResult& result, const std::string& face);
  void ShowPreview();

  ColourGroup start_;  // GroupBoxColorStart: LabelRedStart, TrackBarRedStart, EditRedStart ...
  ColourGroup end_;    // GroupBoxColorEnd
  QLabel* LabelText = nullptr;
  QLineEdit* EditText = nullptr;
  QLabel* LabelFontType = nullptr;
  QComboBox* ComboBoxFontType = nullptr;
  QLabel* LabelFontSize = nullptr;
  QLineEdit* EditFontSize = nullptr;
  TPanel* PanelGradientText = nullptr;
  QPlainTextEdit* MemoGradientText = nullptr;
  QFrame* PanelPreview = nullptr;
  QLabel* ImagePreview = nullptr;
  QImage preview_;
};

}  // namespace pagelathe
