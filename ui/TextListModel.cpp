// The text list model.
#include "ui/TextListModel.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <algorithm>

#include "ui/QtText.h"

namespace pagelathe {

TextListModel::TextListModel(Display display, QObject* parent)
    : QAbstractListModel(parent), display_(display) {}

void TextListModel::SetLines(TextList lines) {
  beginResetModel();
  lines_ = std::move(lines);
  endResetModel();
}

void TextListModel::Append(TextList lines) {
  if (lines.empty()) return;
  const int first = rowCount();
  beginInsertRows({}, first, first + static_cast<int>(lines.size()) - 1);
  lines_.insert(lines_.end(), std::make_move_iterator(lines.begin()),
                std::make_move_iterator(lines.end()));
  endInsertRows();
}

void TextListModel::RemoveRows(const std::vector<bool>& removed) {
  const size_t marked = std::min(removed.size(), lines_.size());
  if (std::find(removed.begin(), removed.begin() + static_cast<std::ptrdiff_t>(marked), true) ==
      removed.begin() + static_cast<std::ptrdiff_t>(marked))
    return;
  // The kept lines move down in place: no second list of a million lines to build.
  beginResetModel();
  size_t kept = 0;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (i < marked && removed[i]) continue;
    if (kept != i) lines_[kept] = std::move(lines_[i]);
    ++kept;
  }
  lines_.resize(kept);
  endResetModel();
}

int TextListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant TextListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(lines_.size())) return {};
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  const std::string& line = lines_[static_cast<size_t>(index.row())];
  return display_ == Display::DocumentBytes ? DocumentToQ(line) : ToQ(line);
}

std::vector<bool> SelectedRowMarks(const QAbstractItemView& view) {
  const QAbstractItemModel* model = view.model();
  std::vector<bool> marks(model ? static_cast<size_t>(model->rowCount()) : 0, false);
  if (const QItemSelectionModel* selection = view.selectionModel())
    for (const QItemSelectionRange& range : selection->selection())
      for (int row = range.top(); row <= range.bottom(); ++row)
        marks[static_cast<size_t>(row)] = true;
  return marks;
}

}  // namespace pagelathe
