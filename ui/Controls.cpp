// The shared controls.
#include "ui/Controls.h"

#include <QAbstractButton>
#include <QVariant>

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/QtText.h"

namespace pagelathe {

TRadioGroup::TRadioGroup(const QString& name, const QString& caption, const QStringList& items,
                         QWidget* parent)
    : QGroupBox(caption, parent), buttons_(new QButtonGroup(this)), layout_(new QVBoxLayout(this)) {
  setObjectName(name);
  layout_->setContentsMargins(8, 4, 8, 4);
  layout_->setSpacing(2);
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    buttons_->addButton(button, i);
    layout_->addWidget(button);
  }
  connect(buttons_, &QButtonGroup::idClicked, this, [this](int id) {
    const bool changed = id != item_index_;
    item_index_ = id;
    if (changed) emit ItemIndexChanged(id);
    emit Click();
  });
}

void TRadioGroup::SetItemIndex(int index) {
  if (index < -1 || index >= Count()) index = -1;
  if (index == item_index_) return;
  item_index_ = index;
  if (index < 0) {
    buttons_->setExclusive(false);
    for (auto* button : buttons_->buttons())
      button->setChecked(false);
    buttons_->setExclusive(true);
  } else {
    buttons_->button(index)->setChecked(true);
  }
  emit ItemIndexChanged(index);
}

int TRadioGroup::Count() const {
  return static_cast<int>(buttons_->buttons().size());
}

QString TRadioGroup::ItemText(int index) const {
  auto* button = buttons_->button(index);
  return button ? button->text() : QString();
}

void TRadioGroup::SetItemText(int index, const QString& text) {
  if (auto* button = buttons_->button(index)) button->setText(text);
}

TFilterComboBox::TFilterComboBox(const QString& name, QWidget* parent) : QComboBox(parent) {
  setObjectName(name);
  connect(this, &QComboBox::currentIndexChanged, this, [this](int) { emit MaskChanged(Mask()); });
}

void TFilterComboBox::SetFilterText(const QString& filter) {
  filter_ = filter;
  const auto entries = ParseFilter(FromQ(filter));
  const int keep = currentIndex();
  const bool same_shape = entries.size() == entries_.size();
  entries_ = entries;
  const QSignalBlocker block(this);
  clear();
  for (const auto& entry : entries_)
    addItem(ToQ(entry.description));
  setCurrentIndex(same_shape && keep >= 0 ? keep : (entries_.empty() ? -1 : 0));
  if (!same_shape) emit MaskChanged(Mask());
}

std::string TFilterComboBox::Mask() const {
  const int index = currentIndex();
  if (index < 0 || index >= static_cast<int>(entries_.size())) return "*.*";
  return entries_[static_cast<size_t>(index)].masks;
}

TFileListBox::TFileListBox(const QString& name, QWidget* parent) : QListWidget(parent) {
  setObjectName(name);
  setUniformItemSizes(true);
  connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    const int row = this->row(item);
    if (row >= 0 && row < static_cast<int>(names_.size()))
      emit FileClicked(names_[static_cast<size_t>(row)]);
  });
}

void TFileListBox::SetDirectory(const std::string& folder) {
  directory_ = folder;
  Update();
}

void TFileListBox::SetMask(const std::string& masks) {
  mask_ = masks;
  Update();
}

void TFileListBox::Update() {
  names_.clear();
  if (!directory_.empty()) names_ = ListFiles(directory_, mask_);
  clear();
  QStringList items;
  items.reserve(static_cast<qsizetype>(names_.size()));
  for (const auto& name : names_)
    items.append(DocumentToQ(name));  // names on this system are mostly UTF-8
  addItems(items);
}

TPanel::TPanel(const QString& name, const QString& caption, QWidget* parent)
    : QLabel(caption, parent) {
  setObjectName(name);
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Raised);
  setAlignment(Qt::AlignCenter);
  setMinimumHeight(20);
}

namespace {
constexpr const char* kKeptCaption = "captionKeptAside";
}  // namespace

void ShowStopCaption(QAbstractButton* button, const QString& stop) {
  if (!ShowsStopCaption(button)) button->setProperty(kKeptCaption, button->text());
  button->setText(stop);
}

void EndStopCaption(QAbstractButton* button) {
  if (!ShowsStopCaption(button)) return;
  const QString caption = button->property(kKeptCaption).toString();
  button->setProperty(kKeptCaption, QVariant());
  button->setText(caption);
}

bool ShowsStopCaption(const QAbstractButton* button) {
  return button->property(kKeptCaption).isValid();
}

QString ButtonCaption(const QAbstractButton* button) {
  return ShowsStopCaption(button) ? button->property(kKeptCaption).toString() : button->text();
}

void SetButtonCaption(QAbstractButton* button, const QString& caption) {
  if (ShowsStopCaption(button)) {
    button->setProperty(kKeptCaption, caption);
  } else {
    button->setText(caption);
  }
}

}  // namespace pagelathe
