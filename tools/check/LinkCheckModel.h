// The table of the link check window: one row per link of a check, in the order of the list
// it came from, narrowed by a filter of states; results are merged in as they arrive. Texts are
// made only for the rows drawn, so a check of 100,000 links costs nothing to show.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <string>
#include <vector>

#include "tools/check/LinkSet.h"

namespace pagelathe {

class LinkCheckModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { kLink, kState, kCode, kOutcome, kFoundIn, kColumns };
  // The filter's items: every link, the failed ones (broken or timed out), one state each (in
  // the order of kAllLinkStates), the links not checked yet.
  enum Filter { kAll = 0, kFailed = 1, kFirstState = 2, kNotChecked = 8, kFilters = 9 };

  explicit LinkCheckModel(QObject* parent = nullptr);

  // Replaces the links; places below the folder `root` are shown relative to it.
  void SetLinks(std::vector<CheckedLink> links, const std::string& root);
  // Merges results in: each is the result of link `index`. Returns true when the rows shown
  // changed (a filter let rows in or out), false when only their texts did.
  bool Apply(std::vector<std::pair<size_t, CheckedLink>>& results);
  void SetFilter(int filter);
  [[nodiscard]] int CurrentFilter() const { return filter_; }

  // The word for each state (in the order of kAllLinkStates), then for a link not checked.
  void SetStateNames(const std::array<QString, 7>& names);

  [[nodiscard]] const std::vector<CheckedLink>& Links() const { return links_; }
  // The link of a row shown.
  [[nodiscard]] size_t LinkAt(int row) const { return rows_[static_cast<size_t>(row)]; }
  // The row that shows link `index`, or -1.
  [[nodiscard]] int RowOf(size_t index) const;
  [[nodiscard]] size_t CheckedCount() const { return checked_; }
  [[nodiscard]] size_t FailedCount() const { return failed_; }
  // How the table shows a state and the places of a link.
  [[nodiscard]] QString StateText(const CheckedLink& link) const;
  [[nodiscard]] QString PlacesShown(const CheckedLink& link, size_t most) const;

  [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  [[nodiscard]] int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
  [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                    int role) const override;
  bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                     int role) override;

 private:
  [[nodiscard]] bool Passes(const CheckedLink& link) const;
  // The rows the filter passes, in order.
  [[nodiscard]] std::vector<size_t> FilteredRows() const;

  std::vector<CheckedLink> links_;
  std::vector<size_t> rows_;  // the links shown, by index
  std::string root_;          // with a final "/", or empty
  int filter_ = kAll;
  size_t checked_ = 0;
  size_t failed_ = 0;
  std::array<QString, 7> state_names_;
  std::array<QString, kColumns> headers_;
};

}  // namespace pagelathe
