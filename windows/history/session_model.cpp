#include "windows/history/session_model.h"

#include "core/history/history.h"
#include "core/values/number_text.h"
#include "core/volume/data_volume.h"
#include "platform/journal/history_store.h"
#include "windows/history/history_tables.h"

namespace tempodial {
namespace {

const char* const kHeaders[] = {"Start", "End",   "Duration", "Tariff", "Rate",
                                "Cost",  "Ended", "Received", "Sent",   "Data"};
constexpr int kColumns = static_cast<int>(std::size(kHeaders));

// Bytes as sizes are written; empty for sessions kept before bytes were counted.
QVariant bytesText(std::optional<qint64> bytes) {
  if (!bytes) return QString();
  return QString::fromStdString(volumeText(*bytes));
}

}  // namespace

SessionModel::SessionModel(QObject* parent) : QAbstractTableModel(parent) {}

void SessionModel::showDay(const HistoryStore* store, const QDate& day) {
  beginResetModel();
  store_ = store;
  day_ = day;
  rows_.clear();
  rows_.shrink_to_fit();
  complete_ = store_ == nullptr || !day_.isValid();
  endResetModel();
  // The first page at once, so that the table is never briefly empty.
  if (canFetchMore()) fetchMore();
}

int SessionModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int SessionModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

QVariant SessionModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const SessionRow& row = session(index.row());
  switch (index.column()) {
    case 0:
      return momentText(row.startUtc, row.utcOffset, day_);
    case 1:
      return momentText(row.endUtc, row.endOffset, day_);
    case 2:
      return QString::fromStdString(durationText(row.seconds));
    case 3:
      return row.tariff;
    case 4:
      return QString::fromStdString(writeNumber(row.rate));
    case 5:
      return QString::fromStdString(
          amountText(row.currency.toStdString(),
                     sessionCost(row.costStart.toStdString(), row.costEnd.toStdString())));
    case 6:
      return sessionEndWords(row.end);
    case 7:
      return bytesText(row.receivedBytes);
    case 8:
      return bytesText(row.sentBytes);
    case 9:
      return row.receivedBytes && row.sentBytes ? bytesText(*row.receivedBytes + *row.sentBytes)
                                                : QVariant(QString());
    default:
      return {};
  }
}

QVariant SessionModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= kColumns) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  return QString::fromLatin1(kHeaders[section]);
}

bool SessionModel::canFetchMore(const QModelIndex& parent) const {
  return !parent.isValid() && !complete_;
}

void SessionModel::fetchMore(const QModelIndex& parent) {
  if (!canFetchMore(parent)) return;
  std::optional<SessionRow> after;
  if (!rows_.empty()) after = rows_.back();
  auto page = store_->sessionsOn({day_.year(), day_.month(), day_.day()}, after, kPage);
  if (!page.ok() || page.value().size() < static_cast<std::size_t>(kPage)) complete_ = true;
  if (!page.ok() || page.value().empty()) return;
  const int first = rowCount();
  beginInsertRows({}, first, first + static_cast<int>(page.value().size()) - 1);
  for (SessionRow& row : page.value()) rows_.push_back(std::move(row));
  endInsertRows();
}

}  // namespace tempodial
