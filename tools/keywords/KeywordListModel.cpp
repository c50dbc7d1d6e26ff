// The keyword rows model.
#include "tools/keywords/KeywordListModel.h"

#include "ui/QtText.h"

namespace pagelathe {

KeywordListModel::KeywordListModel(QObject* parent)
    : QAbstractTableModel(parent), captions_({"Word", ToQ("№")}) {}

int KeywordListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int KeywordListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 2;
}

QVariant KeywordListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
  const KeywordEntry& row = rows_[static_cast<size_t>(index.row())];
  if (role == Qt::DisplayRole) return ToQ(index.column() == 0 ? row.Word : row.Count);
  if (role == Qt::CheckStateRole && index.column() == 0)
    return row.Checked ? Qt::Checked : Qt::Unchecked;
  return {};
}

bool KeywordListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || index.column() != 0 || role != Qt::CheckStateRole) return false;
  if (index.row() >= static_cast<int>(rows_.size())) return false;
  rows_[static_cast<size_t>(index.row())].Checked = value.value<Qt::CheckState>() == Qt::Checked;
  emit dataChanged(index, index, {Qt::CheckStateRole});
  return true;
}

Qt::ItemFlags KeywordListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == 0) flags |= Qt::ItemIsUserCheckable;
  return flags;
}

QVariant KeywordListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
      section < captions_.size())
    return captions_[section];
  return QAbstractTableModel::headerData(section, orientation, role);
}

bool KeywordListModel::setHeaderData(int section, Qt::Orientation orientation,
                                     const QVariant& value, int role) {
  if (orientation != Qt::Horizontal || section < 0 || section >= captions_.size()) return false;
  if (role != Qt::EditRole && role != Qt::DisplayRole) return false;
  captions_[section] = value.toString();
  emit headerDataChanged(orientation, section, section);
  return true;
}

void KeywordListModel::SetRows(std::vector<KeywordEntry> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

void KeywordListModel::SetAllChecked(bool checked) {
  for (auto& row : rows_)
    row.Checked = checked;
  if (!rows_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::CheckStateRole});
}

void KeywordListModel::Sort(int column, KeywordSortState& state) {
  // The rows move only when the whole sort succeeded, so the view never sees half a change.
  std::vector<KeywordEntry> rows = rows_;
  KeywordSortState next = state;
  SortKeywordList(rows, column, next);
  state = next;
  SetRows(std::move(rows));
}

}  // namespace pagelathe
