// The sessions of one day for the History window's table, read from the
// journal a page at a time as the table scrolls (canFetchMore/fetchMore):
// a day with thousands of sessions costs no more to show than its first page.
#pragma once

#include <QAbstractTableModel>
#include <QDate>
#include <vector>

#include "platform/journal/session_journal.h"

namespace tempodial {

class HistoryStore;

class SessionModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  static constexpr int kPage = 200;

  explicit SessionModel(QObject* parent);

  // Shows the sessions of `day` from `store` (which must outlive the model,
  // or be replaced first), or none for an invalid day.
  void showDay(const HistoryStore* store, const QDate& day);
  // The session in `row`, which must have been fetched.
  const SessionRow& session(int row) const { return rows_[static_cast<std::size_t>(row)]; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  bool canFetchMore(const QModelIndex& parent = {}) const override;
  void fetchMore(const QModelIndex& parent = {}) override;

 private:
  const HistoryStore* store_ = nullptr;
  QDate day_;
  std::vector<SessionRow> rows_;
  bool complete_ = true;
};

}  // namespace tempodial
