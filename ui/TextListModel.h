// A list of texts as a view's model: the lines are kept as bytes and converted for display
// only when a row is drawn, and replaced in one batch, so that a list of hundreds of thousands
// of lines fills at once. The link list and the keyword list use it.
#pragma once

#include <QAbstractListModel>
#include <vector>

#include "platform/TextList.h"

class QAbstractItemView;

namespace pagelathe {

class TextListModel : public QAbstractListModel {
  Q_OBJECT
 public:
  // What a line holds: a UTF-8 text of the program, or the bytes of a document, shown
  // decoded line by line by the platform's rule (valid UTF-8, else Windows-1251).
  enum class Display { Text, DocumentBytes };

  explicit TextListModel(Display display, QObject* parent = nullptr);

  [[nodiscard]] const TextList& Lines() const { return lines_; }
  void SetLines(TextList lines);
  void Clear() { SetLines({}); }
  void Append(TextList lines);
  // Removes the rows marked in `removed` (one flag per row), in one pass.
  void RemoveRows(const std::vector<bool>& removed);

  [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;

 private:
  Display display_;
  TextList lines_;
};

// The rows selected in `view`, one flag per row of its model, for RemoveRows and the like.
// The selection is read as row ranges, marked once: asking it for its rows one by one costs
// a second for a few hundred thousand of them.
[[nodiscard]] std::vector<bool> SelectedRowMarks(const QAbstractItemView& view);

}  // namespace pagelathe
