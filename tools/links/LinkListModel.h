// The model behind the link list: the displayed lines as Windows-1251 texts, converted for
// display only when a row is drawn, replaced in one batch so that a list of hundreds of
// thousands of lines fills at once.
#pragma once

#include <QAbstractListModel>

#include "platform/TextList.h"

namespace pagelathe {

class LinkListModel : public QAbstractListModel {
  Q_OBJECT
 public:
  explicit LinkListModel(QObject* parent = nullptr);

  [[nodiscard]] const TextList& Lines() const { return lines_; }
  void SetLines(TextList lines);
  void Clear() { SetLines({}); }

  [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;

 private:
  TextList lines_;
};

}  // namespace pagelathe
