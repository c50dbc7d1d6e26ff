// The colour rows and swatches of the colour pages.
#include "tools/colour/ColorControls.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QSlider>

namespace pagelathe {
namespace {

QColor PartColor(const QString& part) {
  if (part == "Red") return QColor(255, 0, 0);
  if (part == "Green") return QColor(0, 128, 0);
  return QColor(0, 0, 255);
}

}  // namespace

ColorRow AddColorRow(QGridLayout* grid, int row, const char* part, const char* suffix,
                     int position) {
  const QString name = QString::fromLatin1(part) + QString::fromLatin1(suffix);
  ColorRow result;
  result.Label = new QLabel(QString::fromLatin1(part) + ":");
  result.Label->setObjectName("Label" + name);
  QFont bold = result.Label->font();
  bold.setBold(true);
  result.Label->setFont(bold);
  QPalette palette = result.Label->palette();
  palette.setColor(QPalette::WindowText, PartColor(QString::fromLatin1(part)));
  result.Label->setPalette(palette);

  result.TrackBar = new QSlider(Qt::Horizontal);
  result.TrackBar->setObjectName("TrackBar" + name);
  result.TrackBar->setRange(0, 255);
  result.TrackBar->setSingleStep(1);
  result.TrackBar->setPageStep(16);
  result.TrackBar->setTickPosition(QSlider::NoTicks);
  result.TrackBar->setValue(position);
  // A wheel turn focuses the bar too, so that every move the user makes counts as his.
  result.TrackBar->setFocusPolicy(Qt::WheelFocus);

  result.Edit = new QLineEdit;
  result.Edit->setObjectName("Edit" + name);
  result.Edit->setMaxLength(3);
  result.Edit->setFixedWidth(result.Edit->fontMetrics().horizontalAdvance("000") + 12);

  grid->addWidget(result.Label, row, 0);
  grid->addWidget(result.TrackBar, row, 1);
  grid->addWidget(result.Edit, row, 2);
  return result;
}

QLabel* CreateImage(const char* name, int width, int height, QWidget* parent) {
  auto* image = new QLabel(parent);
  image->setObjectName(name);
  image->setFixedSize(width, height);
  image->setFrameShape(QFrame::NoFrame);
  image->setContentsMargins(0, 0, 0, 0);
  return image;
}

void FillImage(QLabel* image, const QColor& color) {
  QPixmap pixmap(image->size());
  pixmap.fill(color);
  image->setPixmap(pixmap);
}

}  // namespace pagelathe
