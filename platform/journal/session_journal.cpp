#include "platform/journal/session_journal.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <atomic>
#include <cerrno>

#include "platform/journal/journal_schema.h"
#include "platform/journal/session_times.h"
#include "platform/journal/settled_mark.h"

namespace tempodial {
namespace {

// SQLite's result codes for a file that is not a sound database.
bool isBrokenDatabase(const QSqlError& error) {
  const QString code = error.nativeErrorCode();
  return code == QLatin1String("11") || code == QLatin1String("26");  // CORRUPT, NOTADB
}

// A failure of SQLite, with the kind Broken where the file is no sound
// database.
Status failure(const QSqlError& error) {
  QString text = error.databaseText();
  if (text.isEmpty()) text = error.text();
  return Status::Error(text.toStdString(),
                       isBrokenDatabase(error) ? StatusKind::Broken : StatusKind::Failed);
}

QDateTime fromSeconds(qint64 seconds) { return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC); }

// Binds the values every write of a row carries.
void bindSnapshot(QSqlQuery& query, const SessionSnapshot& now, const QDateTime& nowUtc) {
  query.bindValue(QStringLiteral(":end"), nowUtc.toSecsSinceEpoch());
  query.bindValue(QStringLiteral(":seconds"), now.counted);
  query.bindValue(QStringLiteral(":cost"), now.cost);
  query.bindValue(QStringLiteral(":tariff"), now.tariff);
  query.bindValue(QStringLiteral(":rate"), now.rate);
  query.bindValue(QStringLiteral(":currency"), now.currency);
  query.bindValue(QStringLiteral(":hours"), now.hours);
  query.bindValue(QStringLiteral(":minutes"), now.minutes);
  query.bindValue(QStringLiteral(":secs"), now.seconds);
  query.bindValue(QStringLiteral(":received"), now.received);
  query.bindValue(QStringLiteral(":sent"), now.sent);
}

// NULL reads as unknown.
std::optional<qint64> optionalCount(const QVariant& value) {
  if (value.isNull()) return std::nullopt;
  return value.toLongLong();
}

}  // namespace

SessionRow sessionRowOf(const QSqlQuery& query) {
  SessionRow row;
  row.id = query.value(0).toLongLong();
  row.startUtc = fromSeconds(query.value(1).toLongLong());
  row.utcOffset = query.value(2).toInt();
  row.endUtc = fromSeconds(query.value(3).toLongLong());
  row.endOffset = endOffset(row.startUtc, row.utcOffset, row.endUtc);
  row.seconds = query.value(4).toLongLong();
  row.costStart = query.value(5).toString();
  row.costEnd = query.value(6).toString();
  row.tariff = query.value(7).toString();
  row.rate = query.value(8).toDouble();
  row.currency = query.value(9).toString();
  row.hours = query.value(10).toString();
  row.minutes = query.value(11).toString();
  row.secondsText = query.value(12).toString();
  row.end = sessionEndOf(query.value(13).toString().toStdString()).value_or(SessionEnd::Open);
  row.receivedBytes = optionalCount(query.value(14));
  row.sentBytes = optionalCount(query.value(15));
  return row;
}

SessionJournal::SessionJournal(QString path) : path_(std::move(path)) {
  static std::atomic<int> serial{0};
  connection_ = QStringLiteral("tempodial-journal-%1").arg(++serial);
}

SessionJournal::~SessionJournal() { close(); }

void SessionJournal::close() {
  update_.reset();
  if (!QSqlDatabase::contains(connection_)) return;
  // Settled: a next start has nothing to ask and need not open the journal.
  const bool settled = open_ && !unansweredInterruption();
  {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    db.close();
  }
  QSqlDatabase::removeDatabase(connection_);
  if (open_) markJournalSettled(path_, settled);
  open_ = false;
}

bool SessionJournal::fileGone() const {
  if (!open_) return false;
  struct stat info {};
  if (::stat(QFile::encodeName(path_).constData(), &info) != 0) return errno == ENOENT;
  return info.st_dev != device_ || info.st_ino != inode_;
}

QSqlDatabase SessionJournal::database() const { return QSqlDatabase::database(connection_, false); }

Status SessionJournal::exec(const QString& sql) {
  QSqlQuery query(database());
  if (!query.exec(sql)) return failure(query.lastError());
  return Status::Ok();
}

Status SessionJournal::open(QString* movedAside, QString* reason) {
  if (open_) return Status::Ok();
  const QFileInfo info(path_);
  Status status = Status::Ok();
  if (info.exists() && !info.isFile()) {
    status = Status::Error("not an ordinary file");
  } else {
    status = openFile();
    // Only a file that is there but is no sound journal is moved aside; a
    // disk that cannot be written is reported and tried again later.
    if (status.kind() != StatusKind::Broken) return status;
  }
  close();
  if (reason != nullptr) *reason = QString::fromStdString(status.reason());
  moveAside(movedAside);
  return openFile();
}

Status SessionJournal::openFile() {
  close();
  QDir().mkpath(QFileInfo(path_).path());
  Status status = connect();
  // Every handle on the connection is gone here, so it can be removed.
  struct stat info {};
  if (status.ok() && ::stat(QFile::encodeName(path_).constData(), &info) == 0) {
    device_ = info.st_dev;
    inode_ = info.st_ino;
  }
  if (status.ok()) {
    open_ = true;
  } else {
    close();
  }
  return status;
}

Status SessionJournal::connect() {
  QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
  db.setDatabaseName(path_);
  db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
  if (!db.open()) return failure(db.lastError());
  if (!installCostFunction(db)) return Status::Error("the database driver is not SQLite");
  // A file that is no database, or whose first pages are damaged, fails the
  // first read of its layout. Nothing more is read here: a check of every
  // page would read the whole history at each start; damage further in is
  // reported by the reads that meet it.
  QSqlQuery check(db);
  if (!check.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master")) || !check.next()) {
    return failure(check.lastError());
  }
  check.finish();
  for (const char* pragma : {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=NORMAL"}) {
    Status status = exec(QString::fromLatin1(pragma));
    if (!status.ok()) return status;
  }
  return migrate();
}

Status SessionJournal::migrate() {
  QSqlQuery version(database());
  if (!version.exec(QStringLiteral("PRAGMA user_version")) || !version.next()) {
    return failure(version.lastError());
  }
  const int found = version.value(0).toInt();
  version.finish();
  if (found > kSchemaVersion) {
    return Status::Error("it was written by a newer version of Tempodial");
  }
  if (found == kSchemaVersion) return checkLast();
  // Each step brings the file from one version to the next, all of them in
  // one transaction: a kill during a migration leaves the file as it was.
  QSqlDatabase db = database();
  if (!db.transaction()) return failure(db.lastError());
  Status status = Status::Ok();
  const auto& steps = journalSteps();
  for (std::size_t step = static_cast<std::size_t>(found); step < steps.size() && status.ok();
       ++step) {
    for (const char* sql : steps[step]) {
      status = exec(QString::fromLatin1(sql));
      if (!status.ok()) break;
    }
  }
  if (status.ok()) status = exec(QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion));
  if (!status.ok() || !db.commit()) {
    db.rollback();
    if (status.ok()) return failure(db.lastError());
    // A damaged file fails the first step that reads it; the step says so.
    if (QString::fromStdString(status.reason()).contains(QLatin1String("malformed"))) {
      return Status::Error(status.reason(), StatusKind::Broken);
    }
    return status;
  }
  return checkLast();
}

Status SessionJournal::checkLast() {
  // The last row and the ends of the start index: what the restore offer and
  // the clock read first, each found by an index.
  QSqlQuery probe(database());
  for (const char* sql : {"SELECT * FROM sessions ORDER BY id DESC LIMIT 1",
                          // One of MIN or MAX alone is read from the index's end;
                          // both in one query would read every row.
                          "SELECT MAX(start_utc) FROM sessions",
                          "SELECT * FROM day_totals ORDER BY day DESC LIMIT 1"}) {
    bool read = probe.exec(QString::fromLatin1(sql));
    while (read && probe.next()) {
    }
    const QSqlError error = probe.lastError();
    if (error.isValid()) return failure(error);
  }
  return Status::Ok();
}

void SessionJournal::moveAside(QString* movedAside) {
  const QString stamp =
      QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd'T'HH-mm-ss"));
  QString target = path_ + QStringLiteral(".broken-") + stamp;
  for (int n = 2; QFileInfo::exists(target); ++n) {
    target = path_ + QStringLiteral(".broken-%1-%2").arg(stamp).arg(n);
  }
  QFile::rename(path_, target);
  // The write-ahead log belongs to the broken file: left beside a new journal
  // it would be replayed into it.
  QFile::rename(path_ + QStringLiteral("-wal"), target + QStringLiteral("-wal"));
  QFile::remove(path_ + QStringLiteral("-shm"));
  if (movedAside != nullptr) *movedAside = target;
}

Result<qint64> SessionJournal::begin(const SessionSnapshot& now, const QDateTime& startUtc,
                                     int utcOffset) {
  if (!open_) return Result<qint64>::Error("the journal is not open");
  QSqlQuery query(database());
  query.prepare(QStringLiteral(
      "INSERT INTO sessions (start_utc, utc_offset, end_utc, seconds, cost_start, cost_end,"
      " tariff, rate, currency, hours, minutes, secs, received_bytes, sent_bytes)"
      " VALUES (:start, :offset, :end, :seconds, :cost, :cost, :tariff, :rate, :currency,"
      " :hours, :minutes, :secs, :received, :sent)"));
  query.bindValue(QStringLiteral(":start"), startUtc.toSecsSinceEpoch());
  query.bindValue(QStringLiteral(":offset"), utcOffset);
  bindSnapshot(query, now, startUtc);
  if (!query.exec()) return Result<qint64>::FromStatus(failure(query.lastError()));
  return Result<qint64>::Value(query.lastInsertId().toLongLong());
}

Status SessionJournal::update(qint64 id, const SessionSnapshot& now, const QDateTime& nowUtc,
                              bool durable) {
  if (!open_) return Status::Error("the journal is not open");
  // In write-ahead mode a commit survives a killed process at once; a full
  // sync makes it survive a power cut as well, with every commit before it.
  if (durable) exec(QStringLiteral("PRAGMA synchronous=FULL"));
  // Prepared once: the clock brings its row up to date every few seconds.
  if (!update_) {
    update_ = std::make_unique<QSqlQuery>(database());
    update_->prepare(
        QStringLiteral("UPDATE sessions SET end_utc = :end, seconds = :seconds, cost_end = :cost,"
                       " cost = tempodial_cost(cost_start, :cost),"
                       " tariff = :tariff, rate = :rate, currency = :currency, hours = :hours,"
                       " minutes = :minutes, secs = :secs, received_bytes = :received,"
                       " sent_bytes = :sent WHERE id = :id"));
  }
  QSqlQuery& query = *update_;
  bindSnapshot(query, now, nowUtc);
  query.bindValue(QStringLiteral(":id"), id);
  const bool done = query.exec();
  const QSqlError error = query.lastError();
  query.finish();
  if (durable) exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
  return done ? Status::Ok() : failure(error);
}

Status SessionJournal::finish(qint64 id, const SessionSnapshot& now, const QDateTime& nowUtc,
                              SessionEnd end) {
  Status status = update(id, now, nowUtc, false);
  if (!status.ok()) return status;
  exec(QStringLiteral("PRAGMA synchronous=FULL"));
  QSqlQuery query(database());
  query.prepare(QStringLiteral("UPDATE sessions SET end_kind = :kind WHERE id = :id"));
  query.bindValue(QStringLiteral(":kind"),
                  QString::fromLatin1(sessionEndText(end).data(), sessionEndText(end).size()));
  query.bindValue(QStringLiteral(":id"), id);
  const bool done = query.exec();
  const QSqlError error = query.lastError();
  query.finish();
  exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
  return done ? Status::Ok() : failure(error);
}

Status SessionJournal::discard(qint64 id) {
  if (!open_) return Status::Error("the journal is not open");
  QSqlQuery query(database());
  query.prepare(QStringLiteral("DELETE FROM sessions WHERE id = :id"));
  query.bindValue(QStringLiteral(":id"), id);
  if (!query.exec()) return failure(query.lastError());
  return Status::Ok();
}

std::optional<SessionRow> SessionJournal::unansweredInterruption() {
  if (!open_) return std::nullopt;
  QSqlQuery query(database());
  if (!query.exec(QStringLiteral("SELECT %1, restore_asked FROM sessions ORDER BY id DESC LIMIT 1")
                      .arg(QLatin1String(kSessionRowColumns))) ||
      !query.next()) {
    return std::nullopt;
  }
  const auto end = sessionEndOf(query.value(13).toString().toStdString());
  const bool asked = query.value(16).toInt() != 0;
  if (asked || !end || (*end != SessionEnd::Open && *end != SessionEnd::Interrupted)) {
    return std::nullopt;
  }
  return sessionRowOf(query);
}

Status SessionJournal::markInterrupted(qint64 id) {
  if (!open_) return Status::Error("the journal is not open");
  QSqlQuery query(database());
  query.prepare(QStringLiteral(
      "UPDATE sessions SET end_kind = 'interrupted' WHERE id = :id AND end_kind IS NULL"));
  query.bindValue(QStringLiteral(":id"), id);
  if (!query.exec()) return failure(query.lastError());
  return Status::Ok();
}

Status SessionJournal::markAnswered(qint64 id) {
  if (!open_) return Status::Error("the journal is not open");
  QSqlQuery query(database());
  query.prepare(
      QStringLiteral("UPDATE sessions SET restore_asked = 1,"
                     " end_kind = COALESCE(end_kind, 'interrupted') WHERE id = :id"));
  query.bindValue(QStringLiteral(":id"), id);
  if (!query.exec()) return failure(query.lastError());
  return Status::Ok();
}

}  // namespace tempodial
