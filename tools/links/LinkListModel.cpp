// The link list model.
#include "tools/links/LinkListModel.h"

#include "ui/Text1251.h"

namespace pagelathe {

LinkListModel::LinkListModel(QObject* parent) : QAbstractListModel(parent) {}

void LinkListModel::SetLines(TextList lines) {
  beginResetModel();
  lines_ = std::move(lines);
  endResetModel();
}

int LinkListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant LinkListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(lines_.size())) return {};
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  return ToQ(lines_[static_cast<size_t>(index.row())]);
}

}  // namespace pagelathe
