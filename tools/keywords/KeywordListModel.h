// The rows of the keyword search as a table model: the word with its check box, and the count.
// A model, so that a search with a hundred thousand rows fills the view at once.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

#include "tools/keywords/KeywordSearch.h"

namespace pagelathe {

class KeywordListModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit KeywordListModel(QObject* parent = nullptr);

  [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  [[nodiscard]] int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;
  [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                    int role) const override;
  // Column captions can be changed (the language files set the first one).
  bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                     int role = Qt::EditRole) override;

  [[nodiscard]] const std::vector<KeywordEntry>& Rows() const { return rows_; }
  void SetRows(std::vector<KeywordEntry> rows);
  void SetAllChecked(bool checked);
  // Sorts by a column as a header click does; on an error nothing changes.
  void Sort(int column, KeywordSortState& state);

 private:
  std::vector<KeywordEntry> rows_;
  QStringList captions_;
};

}  // namespace pagelathe
