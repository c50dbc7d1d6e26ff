// The Gradient Text page.
#include "tools/colour/GradientTextPage.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTextDocument>
#include <QVBoxLayout>
#include <cstdlib>

#include "platform/IntParse.h"
#include "platform/Letters.h"
#include "tools/colour/ColorControls.h"
#include "tools/colour/FontFamilies.h"
#include "ui/Controls.h"
#include "ui/QtText.h"

namespace pagelathe {
namespace {

constexpr int kPreviewWidth = 319;
constexpr int kPreviewHeight = 87;
constexpr int kGradientSwatchWidth = 89;
constexpr int kGradientSwatchHeight = 90;
constexpr int kSelectedFont = 6;  // the seventh family
// The preview draws point sizes at the desktop's usual 96 dots per inch on every machine.
constexpr int kDotsPerMeter = 3780;

QColor ToQColor(const RgbColor& color) {
  return QColor(color.Red, color.Green, color.Blue);
}

}  // namespace

RgbColor GradientTextPage::ColourGroup::Color() const {
  return {Rows[0].TrackBar->value(), Rows[1].TrackBar->value(), Rows[2].TrackBar->value()};
}

GradientTextPage::GradientTextPage(PageContext& context, QWidget* parent)
    : ToolPage(context, "TabSheetGradientText", parent),
      preview_(kPreviewWidth, kPreviewHeight, QImage::Format_RGB32) {
  preview_.setDotsPerMeterX(kDotsPerMeter);
  preview_.setDotsPerMeterY(kDotsPerMeter);
  preview_.fill(Qt::white);

  start_ = CreateColorGroup("GroupBoxColorStart", " Start Color ", "Start", {0, 255, 0});
  end_ = CreateColorGroup("GroupBoxColorEnd", " End Color ", "End", {0, 0, 255});

  PanelPreview = new QFrame(this);
  PanelPreview->setObjectName("PanelPreview");
  PanelPreview->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  auto* preview_layout = new QVBoxLayout(PanelPreview);
  preview_layout->setContentsMargins(0, 0, 0, 0);
  ImagePreview = CreateImage("ImagePreview", kPreviewWidth, kPreviewHeight, PanelPreview);
  preview_layout->addWidget(ImagePreview);
  const int frame = 2 * PanelPreview->frameWidth();
  PanelPreview->setFixedSize(kPreviewWidth + frame, kPreviewHeight + frame);
  ShowPreview();

  const auto label = [this](const char* name, const char* caption) {
    auto* result = new QLabel(caption, this);
    result->setObjectName(name);
    return result;
  };
  LabelText = label("LabelText", "Input Text:");
  EditText = new QLineEdit("Gradient Text", this);
  EditText->setObjectName("EditText");
  LabelFontType = label("LabelFontType", "Font Type:");
  ComboBoxFontType = new QComboBox(this);
  ComboBoxFontType->setObjectName("ComboBoxFontType");
  ComboBoxFontType->setEditable(false);
  ComboBoxFontType->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  ComboBoxFontType->setMinimumContentsLength(8);
  LabelFontSize = label("LabelFontSize", "Font Size:");
  EditFontSize = new QLineEdit("6", this);
  EditFontSize->setObjectName("EditFontSize");
  EditFontSize->setMaxLength(2);
  EditFontSize->setFixedWidth(EditFontSize->fontMetrics().horizontalAdvance("000") + 14);

  PanelGradientText = new TPanel("PanelGradientText", "Gradient Text:", this);
  MemoGradientText = new QPlainTextEdit(this);
  MemoGradientText->setObjectName("MemoGradientText");
  MemoGradientText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  MemoGradientText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  MemoGradientText->setLineWrapMode(QPlainTextEdit::WidgetWidth);

  // Colours on the left, the HTML on the right, wide enough for a whole colour line; the
  // preview below with the text, font and size that shape it beside it.
  MemoGradientText->document()->setDocumentMargin(2);
  const int memo_width =
      MemoGradientText->fontMetrics().horizontalAdvance("<font color=\"#00FF00\">W</font>") +
      MemoGradientText->verticalScrollBar()->sizeHint().width() +
      2 * MemoGradientText->frameWidth() + 10;
  MemoGradientText->setFixedWidth(memo_width);
  PanelGradientText->setFixedWidth(memo_width);

  auto* colours = new QVBoxLayout;
  colours->addWidget(start_.Box);
  colours->addWidget(end_.Box);
  auto* html = new QVBoxLayout;
  html->setSpacing(2);
  html->addWidget(PanelGradientText);
  html->addWidget(MemoGradientText, 1);
  auto* top = new QHBoxLayout;
  top->addLayout(colours, 1);
  top->addLayout(html);

  // Labels above their fields, so that long captions of other languages leave the fields
  // their width.
  auto* size_row = new QHBoxLayout;
  size_row->addWidget(LabelFontSize);
  size_row->addWidget(EditFontSize);
  size_row->addStretch(1);
  auto* inputs = new QVBoxLayout;
  inputs->setSpacing(2);
  inputs->addWidget(LabelText);
  inputs->addWidget(EditText);
  inputs->addSpacing(4);
  inputs->addWidget(LabelFontType);
  inputs->addWidget(ComboBoxFontType);
  inputs->addSpacing(6);
  inputs->addLayout(size_row);
  inputs->addStretch(1);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(PanelPreview, 0, Qt::AlignTop);
  bottom->addSpacing(4);
  bottom->addLayout(inputs, 1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addLayout(top, 1);
  layout->addLayout(bottom);

  for (const ColourGroup* group : {&start_, &end_}) {
    for (const ColorRow& row : group->Rows) {
      connect(row.TrackBar, &QSlider::valueChanged, this,
              [this, &row] { RunHandler(this, [&] { TrackBarChange(row); }); });
      connect(row.Edit, &QLineEdit::textChanged, this,
              [this, &row] { RunHandler(this, [&] { EditChange(row); }); });
    }
  }
  const auto on = [this](auto* sender, auto signal, void (GradientTextPage::*handler)()) {
    connect(sender, signal, this,
            [this, handler] { RunHandler(this, [&] { (this->*handler)(); }); });
  };
  on(EditFontSize, &QLineEdit::textChanged, &GradientTextPage::EditFontSizeChange);
  on(ComboBoxFontType, &QComboBox::currentIndexChanged, &GradientTextPage::ComboBoxFontTypeChange);
  on(EditText, &QLineEdit::textChanged, &GradientTextPage::EditTextChange);
}

GradientTextPage::ColourGroup GradientTextPage::CreateColorGroup(const char* name,
                                                                 const char* caption,
                                                                 const char* suffix,
                                                                 const int (&positions)[3]) {
  ColourGroup group;
  group.Box = new QGroupBox(caption, this);
  group.Box->setObjectName(name);
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(5);
  grid->setColumnStretch(1, 1);
  const char* parts[] = {"Red", "Green", "Blue"};
  for (int i = 0; i < 3; ++i)
    group.Rows[i] = AddColorRow(grid, i, parts[i], suffix, positions[i]);
  const QString swatch = QStringLiteral("ImageColor") + QString::fromLatin1(suffix);
  group.Swatch = CreateImage(swatch.toLatin1().constData(), kGradientSwatchWidth,
                             kGradientSwatchHeight, group.Box);
  auto* row = new QHBoxLayout(group.Box);
  row->setContentsMargins(6, 4, 6, 6);
  row->setSpacing(6);
  row->addLayout(grid, 1);
  row->addWidget(group.Swatch, 0, Qt::AlignVCenter);
  return group;
}

void GradientTextPage::FillFontList() {
  FillFontList(QFontDatabase::families());
}

void GradientTextPage::FillFontList(const QStringList& families) {
  const QSignalBlocker quiet(ComboBoxFontType);
  ComboBoxFontType->clear();
  ComboBoxFontType->addItems(FontFamilyNames(families));
  ComboBoxFontType->setCurrentIndex(std::min(kSelectedFont, ComboBoxFontType->count() - 1));
}

void GradientTextPage::FirstShow() {
  FillFontList();
  BuildGradientText();  // before any colour edit is filled
  for (const ColourGroup* group : {&start_, &end_})
    for (const ColorRow& row : group->Rows)
      row.Edit->setText(ToQ(IntToStr(row.TrackBar->value())));
}

void GradientTextPage::ClearOutput() {
  MemoGradientText->clear();
  preview_.fill(Qt::white);
  ShowPreview();
}

void GradientTextPage::FillSwatches() {
  FillImage(start_.Swatch, ToQColor(start_.Color()));
  FillImage(end_.Swatch, ToQColor(end_.Color()));
}

void GradientTextPage::BuildGradientText() {
  ClearOutput();
  // The swatches follow the track bars even when a one-character text leaves nothing to build.
  FillSwatches();
  const std::string text = FromQ(EditText->text());
  if (text.size() == 1) return;
  const RgbColor start = start_.Color();
  const RgbColor end = end_.Color();
  const std::string face = FromQ(ComboBoxFontType->currentText());
  const int size = StrToInt(FromQ(EditFontSize->text()));
  const GradientResult result = pagelathe::BuildGradientText(text, start, end, face, size);

  std::string memo;
  for (const std::string& line : result.Lines) {
    if (!memo.empty()) memo += '\n';
    memo += line;
  }
  MemoGradientText->setPlainText(ToQ(memo));
  DrawPreview(result, face);
}

void GradientTextPage::DrawPreview(const GradientResult& result, const std::string& face) {
  QFont font(ToQ(face));
  // Zero keeps the font's own size; a negative size draws as large as its positive twin.
  if (result.PreviewPointSize != 0) font.setPointSize(std::abs(result.PreviewPointSize));
  QPainter painter(&preview_);
  painter.setFont(font);
  const QFontMetrics metrics(font, &preview_);
  // A letter that starts this far left of the image cannot reach into it.
  const long long reach = static_cast<long long>(metrics.maxWidth()) + metrics.height();
  const bool rising = result.PreviewPointSize > 0;
  const bool falling = result.PreviewPointSize < 0;
  for (const GradientGlyph& glyph : result.Glyphs) {
    if (glyph.Left >= preview_.width()) {
      if (rising) break;
      continue;
    }
    if (glyph.Left < -reach) {
      if (falling) break;
      continue;
    }
    painter.setPen(ToQColor(glyph.Color));
    painter.drawText(
        QPoint(static_cast<int>(glyph.Left), static_cast<int>(glyph.Top) + metrics.ascent()),
        ToQ(glyph.Character));
  }
  painter.end();
  ShowPreview();
}

void GradientTextPage::ShowPreview() {
  ImagePreview->setPixmap(QPixmap::fromImage(preview_));
}

void GradientTextPage::TrackBarChange(const ColorRow& row) {
  row.Edit->setText(ToQ(IntToStr(row.TrackBar->value())));
  BuildGradientText();
}

void GradientTextPage::EditChange(const ColorRow& row) {
  const std::optional<int> value = ColorPartFromText(FromQ(row.Edit->text()));
  if (value) row.TrackBar->setValue(*value);  // an unchanged position fires nothing
}

void GradientTextPage::EditFontSizeChange() {
  if (!EditFontSize->text().isEmpty()) BuildGradientText();
}

void GradientTextPage::ComboBoxFontTypeChange() {
  BuildGradientText();
}

void GradientTextPage::EditTextChange() {
  if (CharLength(FromQ(EditText->text())) < 2) {
    ClearOutput();
    return;
  }
  BuildGradientText();
}

}  // namespace pagelathe
