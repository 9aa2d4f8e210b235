// The session journal: one row per run of the clock in an SQLite file beside
// the data directory (history.sqlite3), kept up to date while the clock runs so
// that a crash, a kill or a power cut loses at most a few counted seconds.
#pragma once

#include <QDateTime>
#include <QString>
#include <memory>
#include <optional>

#include "core/history/session.h"
#include "core/values/status.h"

class QSqlDatabase;
class QSqlQuery;

namespace tempodial {

// What the clock and the cost show at one moment of a run.
struct SessionSnapshot {
  QString hours, minutes, seconds;  // the counters' texts
  QString cost;                     // the cost box's text
  QString tariff;                   // the tariff in use
  double rate = 0;                  // the rate in use, minor units a minute
  QString currency;                 // the currency symbol shown beside the cost
  qint64 counted = 0;               // seconds the clock counted in this run
  qint64 received = 0, sent = 0;    // bytes of this run on the default routes
};

// One run of the clock as the journal holds it.
struct SessionRow {
  qint64 id = 0;
  QDateTime startUtc;
  int utcOffset = 0;  // seconds east of UTC at the start
  QDateTime endUtc;   // the end, or the last moment it was known to run
  int endOffset = 0;  // seconds east of UTC at the end
  qint64 seconds = 0;
  QString costStart, costEnd, tariff, currency;
  double rate = 0;
  QString hours, minutes, secondsText;  // the counters as they last stood
  SessionEnd end = SessionEnd::Open;
  // Bytes received and sent; unknown for runs recorded before they were counted.
  std::optional<qint64> receivedBytes, sentBytes;
};

// The columns every reader of a whole row selects first, in this order, and
// the row read from them (an unknown end reads as Open).
inline constexpr const char* kSessionRowColumns =
    "id, start_utc, utc_offset, end_utc, seconds, cost_start, cost_end, tariff, rate, currency,"
    " hours, minutes, secs, end_kind, received_bytes, sent_bytes";
SessionRow sessionRowOf(const QSqlQuery& query);

class SessionJournal {
 public:
  // Current layout of the file; PRAGMA user_version holds it.
  static constexpr int kSchemaVersion = 4;

  explicit SessionJournal(QString path);
  ~SessionJournal();
  SessionJournal(const SessionJournal&) = delete;
  SessionJournal& operator=(const SessionJournal&) = delete;

  const QString& path() const { return path_; }
  bool isOpen() const { return open_; }

  // Opens the journal, creating it when missing. A file that is not a sound
  // journal (not a database, corrupt, a folder) is moved aside as
  // "<path>.broken-<date-time>" and a new journal started; `movedAside` then
  // names where it went and `reason` why. Fails when the journal can neither
  // be opened nor created (a read-only or full disk): the program goes on
  // without it. Opening an open journal does nothing.
  Status open(QString* movedAside = nullptr, QString* reason = nullptr);
  void close();
  // The file opened is no longer at the path: deleted, or another put in its
  // place. Writes would go on into a file nobody can read.
  bool fileGone() const;

  // Starts a row for a run that began now; returns its id.
  Result<qint64> begin(const SessionSnapshot& now, const QDateTime& startUtc, int utcOffset);
  // Brings the open row up to date. `durable` flushes it to the disk.
  Status update(qint64 id, const SessionSnapshot& now, const QDateTime& nowUtc, bool durable);
  // Closes the row with its last values and how the run ended (flushed).
  Status finish(qint64 id, const SessionSnapshot& now, const QDateTime& nowUtc, SessionEnd end);

  // Removes the row of a run that counted nothing.
  Status discard(qint64 id);

  // The last run, if it ended interrupted or has no end at all and nobody
  // has been asked about it yet.
  std::optional<SessionRow> unansweredInterruption();
  // Marks the run `id`, which no copy of the program runs any more, as cut
  // short; a run that has an end already keeps it.
  Status markInterrupted(qint64 id);
  // Marks the run as asked about; a run without an end is closed as
  // interrupted at its last known moment.
  Status markAnswered(qint64 id);

  // The open database, for readers of the history; requires isOpen().
  QSqlDatabase database() const;

 private:
  // Opens the file as it is; a file that is no sound journal fails with the
  // kind Broken, one that cannot be opened at all with another kind.
  Status openFile();
  Status connect();
  Status migrate();
  // Reads what the first reads after opening need, each found by an index.
  Status checkLast();
  Status exec(const QString& sql);
  void moveAside(QString* movedAside);

  QString path_;
  QString connection_;
  std::unique_ptr<QSqlQuery> update_;
  bool open_ = false;
  // The file opened: its device and inode.
  quint64 device_ = 0, inode_ = 0;
};

}  // namespace tempodial
