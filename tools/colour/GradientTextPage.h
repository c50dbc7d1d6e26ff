// The Gradient Text page: a text as HTML whose letters run from a start colour to an end
// colour, regenerated whenever an input changes, with a preview of the coloured letters.
#pragma once

#include <QImage>
#include <QStringList>
#include <string>

#include "app/ToolPage.h"
#include "tools/colour/GradientText.h"

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSlider;

namespace pagelathe {

class TPanel;

class GradientTextPage : public ToolPage {
  Q_OBJECT
 public:
  explicit GradientTextPage(TForm1& form, QWidget* parent = nullptr);

  // Fills ComboBoxFontType with the installed font families (FontFamilyNames: no foundry
  // tags, each once, in order) and selects the seventh, or the last when there are fewer than
  // seven. Filling runs no generator.
  void FillFontList();
  void FillFontList(const QStringList& families);

  // The generator: empties the memo, whitens the preview, fills the swatches, then writes the
  // HTML lines and draws the letters. A text of one character has no colour step: the output
  // is only cleared. A font size that is no integer raises EConvertError with the memo empty.
  void BuildGradientText();

  // The window's first show: each colour edit receives its track bar's position, the start
  // colour first. (The main window fills the font list and runs the generator before.)
  void FirstShow() override;

  // A track bar moved (by the user or the program): its edit receives the position, then the
  // generator runs.
  void TrackBarRedStartChange();
  void TrackBarGreenStartChange();
  void TrackBarBlueStartChange();
  void TrackBarRedEndChange();
  void TrackBarGreenEndChange();
  void TrackBarBlueEndChange();
  // A colour edit changed: a value from 0 to 255 moves its track bar (which writes the value
  // back, so "007" becomes "7"); an empty text or a value out of range changes nothing.
  void EditRedStartChange();
  void EditGreenStartChange();
  void EditBlueStartChange();
  void EditRedEndChange();
  void EditGreenEndChange();
  void EditBlueEndChange();
  void EditFontSizeChange();
  void ComboBoxFontTypeChange();
  void EditTextChange();

  // The preview as last drawn.
  [[nodiscard]] const QImage& PreviewImage() const { return preview_; }

  QGroupBox* GroupBoxColorStart = nullptr;
  QLabel* LabelRedStart = nullptr;
  QLabel* LabelGreenStart = nullptr;
  QLabel* LabelBlueStart = nullptr;
  QSlider* TrackBarRedStart = nullptr;
  QSlider* TrackBarGreenStart = nullptr;
  QSlider* TrackBarBlueStart = nullptr;
  QLineEdit* EditRedStart = nullptr;
  QLineEdit* EditGreenStart = nullptr;
  QLineEdit* EditBlueStart = nullptr;
  QLabel* ImageColorStart = nullptr;
  QGroupBox* GroupBoxColorEnd = nullptr;
  QLabel* LabelRedEnd = nullptr;
  QLabel* LabelGreenEnd = nullptr;
  QLabel* LabelBlueEnd = nullptr;
  QSlider* TrackBarRedEnd = nullptr;
  QSlider* TrackBarGreenEnd = nullptr;
  QSlider* TrackBarBlueEnd = nullptr;
  QLineEdit* EditRedEnd = nullptr;
  QLineEdit* EditGreenEnd = nullptr;
  QLineEdit* EditBlueEnd = nullptr;
  QLabel* ImageColorEnd = nullptr;
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

 private:
  QGroupBox* CreateColorGroup(const char* name, const char* caption, const char* suffix,
                              const int (&positions)[3], QLabel*& swatch);
  void TrackBarChange(QSlider* bar, QLineEdit* edit);
  void EditChange(QLineEdit* edit, QSlider* bar);
  void ClearOutput();
  void FillSwatches();
  void DrawPreview(const GradientResult& result, const std::string& face);
  void ShowPreview();

  QImage preview_;
};

}  // namespace pagelathe
