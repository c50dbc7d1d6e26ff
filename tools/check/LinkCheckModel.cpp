// The rows of the link check window.
#include "tools/check/LinkCheckModel.h"

#include <QBrush>
#include <QColor>
#include <algorithm>
#include <iterator>

#include "tools/check/CheckReport.h"
#include "ui/QtText.h"

namespace pagelathe {
namespace {

// How a state looks, by state: a pale tint for the row, so that the text stays easy to read
// and the eye finds the red rows first, then the amber ones; the state's word in a deeper
// shade of it. Ok rows keep the table's own background.
struct Look {
  QColor tint;
  QColor ink;
};
const Look kLooks[] = {
    {{}, {0x1B, 0x6E, 0x20}},                  // ok
    {{0xE6, 0xEF, 0xFB}, {0x1F, 0x4E, 0x9A}},  // redirected
    {{0xFD, 0xF1, 0xD2}, {0x8A, 0x5A, 0x00}},  // blocked
    {{0xFC, 0xE2, 0xCF}, {0xA0, 0x40, 0x00}},  // timeout
    {{0xF9, 0xD6, 0xD6}, {0xA8, 0x10, 0x10}},  // broken
    {{0xEC, 0xEC, 0xEC}, {0x70, 0x70, 0x70}},  // excluded
};
static_assert(std::size(kLooks) == kAllLinkStates.size());

const Look& LookOf(LinkState state) {
  return kLooks[static_cast<size_t>(state)];
}

bool CountsAsFailed(const CheckedLink& link) {
  return link.checked && (link.state == LinkState::kBroken || link.state == LinkState::kTimeout);
}

}  // namespace

LinkCheckModel::LinkCheckModel(QObject* parent) : QAbstractTableModel(parent) {
  headers_ = {QStringLiteral("Link"), QStringLiteral("State"), QStringLiteral("Code"),
              QStringLiteral("Final URL or message"), QStringLiteral("Found in")};
}

void LinkCheckModel::SetLinks(std::vector<CheckedLink> links, const std::string& root) {
  beginResetModel();
  links_ = std::move(links);
  root_ = root;
  if (!root_.empty() && root_.back() != '/') root_ += '/';
  checked_ = failed_ = 0;
  for (const CheckedLink& link : links_) {
    checked_ += link.checked ? 1 : 0;
    failed_ += CountsAsFailed(link) ? 1 : 0;
  }
  rows_ = FilteredRows();
  endResetModel();
}

bool LinkCheckModel::Apply(std::vector<std::pair<size_t, CheckedLink>>& results) {
  if (results.empty()) return false;
  size_t first = links_.size(), last = 0;
  for (auto& [index, result] : results) {
    if (index >= links_.size()) continue;
    CheckedLink& link = links_[index];
    checked_ -= link.checked ? 1 : 0;
    failed_ -= CountsAsFailed(link) ? 1 : 0;
    link.checked = result.checked;
    link.state = result.state;
    link.code = result.code;
    link.final_url = std::move(result.final_url);
    link.message = std::move(result.message);
    link.chain = std::move(result.chain);
    link.permanent = result.permanent;
    link.cached = result.cached;
    checked_ += link.checked ? 1 : 0;
    failed_ += CountsAsFailed(link) ? 1 : 0;
    first = std::min(first, index);
    last = std::max(last, index);
  }
  if (first > last) return false;
  if (filter_ == kAll) {  // every link is a row, at its own index
    emit dataChanged(index(static_cast<int>(first), 0),
                     index(static_cast<int>(last), kColumns - 1));
    return false;
  }
  std::vector<size_t> rows = FilteredRows();
  if (rows == rows_) {
    if (!rows_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, kColumns - 1));
    return false;
  }
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
  return true;
}

void LinkCheckModel::SetFilter(int filter) {
  if (filter < 0 || filter >= kFilters) filter = kAll;
  if (filter == filter_) return;
  beginResetModel();
  filter_ = filter;
  rows_ = FilteredRows();
  endResetModel();
}

void LinkCheckModel::SetStateNames(const std::array<QString, 7>& names) {
  state_names_ = names;
  if (!rows_.empty()) emit dataChanged(index(0, kState), index(rowCount() - 1, kState));
}

bool LinkCheckModel::Passes(const CheckedLink& link) const {
  switch (filter_) {
    case kAll:
      return true;
    case kFailed:
      return CountsAsFailed(link);
    case kNotChecked:
      return !link.checked;
    default:
      return link.checked &&
             link.state == kAllLinkStates[static_cast<size_t>(filter_ - kFirstState)];
  }
}

std::vector<size_t> LinkCheckModel::FilteredRows() const {
  std::vector<size_t> rows;
  rows.reserve(filter_ == kAll ? links_.size() : 0);
  for (size_t i = 0; i < links_.size(); ++i)
    if (Passes(links_[i])) rows.push_back(i);
  return rows;
}

int LinkCheckModel::RowOf(size_t index) const {
  const auto found = std::lower_bound(rows_.begin(), rows_.end(), index);
  return found != rows_.end() && *found == index ? static_cast<int>(found - rows_.begin()) : -1;
}

QString LinkCheckModel::StateText(const CheckedLink& link) const {
  return link.checked ? state_names_[static_cast<size_t>(link.state)] : state_names_[6];
}

QString LinkCheckModel::PlacesShown(const CheckedLink& link, size_t most) const {
  QString text;
  const size_t shown = std::min(most, link.places.size());
  for (size_t i = 0; i < shown; ++i) {
    const LinkPlace& place = link.places[i];
    std::string_view document = place.document.str();
    if (!root_.empty() && document.starts_with(root_)) document.remove_prefix(root_.size());
    if (i > 0) text += most > 3 ? QStringLiteral("\n") : QStringLiteral(", ");
    text += PathToQ(document) + QLatin1Char(':') + QString::number(place.line);
  }
  if (link.places.size() > shown) text += QStringLiteral(" (+%1)").arg(link.places.size() - shown);
  return text;
}

int LinkCheckModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int LinkCheckModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

QVariant LinkCheckModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const CheckedLink& link = links_[rows_[static_cast<size_t>(index.row())]];
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole:
      switch (column) {
        case kLink:
          return DocumentToQ(link.url);
        case kState:
          return StateText(link);
        case kCode:
          return link.code > 0 ? QVariant(link.code) : QVariant();
        case kOutcome:
          return DocumentToQ(OutcomeText(link));
        case kFoundIn:
          return PlacesShown(link, 3);
      }
      return {};
    case Qt::ToolTipRole:
      if (column == kFoundIn) return PlacesShown(link, 20);
      if (column == kOutcome && link.chain.size() > 1) {
        QString chain = DocumentToQ(link.url);
        for (const std::string& hop : link.chain)
          chain += QStringLiteral("\n\u2192 ") + DocumentToQ(hop);
        return chain;
      }
      return data(index, Qt::DisplayRole);
    case Qt::BackgroundRole:
      if (link.checked && LookOf(link.state).tint.isValid()) return QBrush(LookOf(link.state).tint);
      return {};
    case Qt::ForegroundRole:
      if (!link.checked) return QBrush(QColor(0x80, 0x80, 0x80));
      if (column == kState || link.state == LinkState::kExcluded)
        return QBrush(LookOf(link.state).ink);
      return {};
    case Qt::TextAlignmentRole:
      if (column == kCode) return QVariant(Qt::AlignCenter);
      return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
  }
  return {};
}

QVariant LinkCheckModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= kColumns)
    return QAbstractTableModel::headerData(section, orientation, role);
  return headers_[static_cast<size_t>(section)];
}

bool LinkCheckModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                                   int role) {
  if (orientation != Qt::Horizontal || role != Qt::EditRole || section < 0 || section >= kColumns)
    return false;
  headers_[static_cast<size_t>(section)] = value.toString();
  emit headerDataChanged(orientation, section, section);
  return true;
}

}  // namespace pagelathe
