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
#include "ui/QtText.h"

namespace pagelathe {
namespace {

constexpr int kSwatchWidth = 513;
constexpr int kSwatchHeight = 226;

}  // namespace

WebColorPage::WebColorPage(PageContext& context, QWidget* parent)
    : ToolPage(context, "TabSheetWebColor", parent) {
  GroupBox1 = new QGroupBox(this);
  GroupBox1->setObjectName("GroupBox1");
  auto* grid = new QGridLayout(GroupBox1);
  grid->setHorizontalSpacing(10);
  grid->setColumnStretch(1, 1);
  red_ = AddColorRow(grid, 0, "Red", "Web", 0);
  green_ = AddColorRow(grid, 1, "Green", "Web", 192);
  blue_ = AddColorRow(grid, 2, "Blue", "Web", 255);

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

  for (const ColorRow* row : {&red_, &green_, &blue_}) {
    connect(row->TrackBar, &QSlider::valueChanged, this,
            [this, row] { RunHandler(this, [&] { TrackBarChange(*row); }); });
    connect(row->Edit, &QLineEdit::textChanged, this,
            [this, row] { RunHandler(this, [&] { EditChange(*row); }); });
  }
}

void WebColorPage::FirstShow() {
  for (const ColorRow* row : {&red_, &green_, &blue_})
    row->Edit->setText(ToQ(IntToStr(row->TrackBar->value())));
  UpdateWebColor();
}

void WebColorPage::UpdateWebColor() {
  const int red = red_.TrackBar->value();
  const int green = green_.TrackBar->value();
  const int blue = blue_.TrackBar->value();
  FillImage(ImageWebColor, QColor(red, green, blue));
  EditWebColor->setText(ToQ(WebColorCode(red, green, blue)));
}

void WebColorPage::TrackBarChange(const ColorRow& row) {
  if (!row.TrackBar->hasFocus()) return;
  row.Edit->setText(ToQ(IntToStr(row.TrackBar->value())));
  UpdateWebColor();
}

void WebColorPage::EditChange(const ColorRow& row) {
  const std::optional<int> value = ColorPartFromText(FromQ(row.Edit->text()));
  if (!value) return;
  row.TrackBar->setValue(*value);
  UpdateWebColor();
}

}  // namespace pagelathe
