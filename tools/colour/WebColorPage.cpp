// The Web Color page.
#include "tools/colour/WebColorPage.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QVBoxLayout>

#include "platform/IntParse.h"
#include "tools/colour/ColorControls.h"
#include "tools/colour/WebColor.h"
#include "ui/Text1251.h"

namespace pagelathe {
namespace {

constexpr int kSwatchWidth = 513;
constexpr int kSwatchHeight = 226;

}  // namespace

WebColorPage::WebColorPage(TForm1& form, QWidget* parent)
    : ToolPage(form, "TabSheetWebColor", parent) {
  GroupBox1 = new QGroupBox(this);
  GroupBox1->setObjectName("GroupBox1");
  auto* grid = new QGridLayout(GroupBox1);
  grid->setHorizontalSpacing(10);
  grid->setColumnStretch(1, 1);
  const ColorRow red = AddColorRow(grid, 0, "Red", "Web", 0);
  const ColorRow green = AddColorRow(grid, 1, "Green", "Web", 192);
  const ColorRow blue = AddColorRow(grid, 2, "Blue", "Web", 255);
  LabelRedWeb = red.Label;
  TrackBarRedWeb = red.TrackBar;
  EditRedWeb = red.Edit;
  LabelGreenWeb = green.Label;
  TrackBarGreenWeb = green.TrackBar;
  EditGreenWeb = green.Edit;
  LabelBlueWeb = blue.Label;
  TrackBarBlueWeb = blue.TrackBar;
  EditBlueWeb = blue.Edit;

  ImageWebColor = CreateImage("ImageWebColor", kSwatchWidth, kSwatchHeight, this);

  LabelWebColor = new QLabel("Web Color:", this);
  LabelWebColor->setObjectName("LabelWebColor");
  EditWebColor = new QLineEdit(this);
  EditWebColor->setObjectName("EditWebColor");
  EditWebColor->setFixedWidth(EditWebColor->fontMetrics().horizontalAdvance("#WWWWWW") + 16);

  auto* code_row = new QHBoxLayout;
  code_row->addWidget(LabelWebColor);
  code_row->addWidget(EditWebColor);
  code_row->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(GroupBox1);
  layout->addWidget(ImageWebColor, 0, Qt::AlignHCenter);
  layout->addLayout(code_row);
  layout->addStretch(1);

  const auto bind = [this](QSlider* bar, QLineEdit* edit, void (WebColorPage::*bar_handler)(),
                           void (WebColorPage::*edit_handler)()) {
    connect(bar, &QSlider::valueChanged, this,
            [this, bar_handler] { RunHandler(this, [&] { (this->*bar_handler)(); }); });
    connect(edit, &QLineEdit::textChanged, this,
            [this, edit_handler] { RunHandler(this, [&] { (this->*edit_handler)(); }); });
  };
  bind(TrackBarRedWeb, EditRedWeb, &WebColorPage::TrackBarRedWebChange,
       &WebColorPage::EditRedWebChange);
  bind(TrackBarGreenWeb, EditGreenWeb, &WebColorPage::TrackBarGreenWebChange,
       &WebColorPage::EditGreenWebChange);
  bind(TrackBarBlueWeb, EditBlueWeb, &WebColorPage::TrackBarBlueWebChange,
       &WebColorPage::EditBlueWebChange);
}

void WebColorPage::FirstShow() {
  EditRedWeb->setText(ToQ(IntToStr(TrackBarRedWeb->value())));
  EditGreenWeb->setText(ToQ(IntToStr(TrackBarGreenWeb->value())));
  EditBlueWeb->setText(ToQ(IntToStr(TrackBarBlueWeb->value())));
  UpdateWebColor();
}

void WebColorPage::UpdateWebColor() {
  const int red = TrackBarRedWeb->value();
  const int green = TrackBarGreenWeb->value();
  const int blue = TrackBarBlueWeb->value();
  FillImage(ImageWebColor, QColor(red, green, blue));
  EditWebColor->setText(ToQ(WebColorCode(red, green, blue)));
}

void WebColorPage::TrackBarChange(QSlider* bar, QLineEdit* edit) {
  if (!bar->hasFocus()) return;
  edit->setText(ToQ(IntToStr(bar->value())));
  UpdateWebColor();
}

void WebColorPage::EditChange(QLineEdit* edit, QSlider* bar) {
  const std::optional<int> value = ColorPartFromText(FromQ(edit->text()));
  if (!value) return;
  bar->setValue(*value);
  UpdateWebColor();
}

void WebColorPage::TrackBarRedWebChange() {
  TrackBarChange(TrackBarRedWeb, EditRedWeb);
}
void WebColorPage::TrackBarGreenWebChange() {
  TrackBarChange(TrackBarGreenWeb, EditGreenWeb);
}
void WebColorPage::TrackBarBlueWebChange() {
  TrackBarChange(TrackBarBlueWeb, EditBlueWeb);
}
void WebColorPage::EditRedWebChange() {
  EditChange(EditRedWeb, TrackBarRedWeb);
}
void WebColorPage::EditGreenWebChange() {
  EditChange(EditGreenWeb, TrackBarGreenWeb);
}
void WebColorPage::EditBlueWebChange() {
  EditChange(EditBlueWeb, TrackBarBlueWeb);
}

}  // namespace pagelathe
