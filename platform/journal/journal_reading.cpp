#include "platform/journal/journal_reading.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "platform/journal/session_journal.h"

namespace tempodial {
namespace {

Status opened(QSqlDatabase& db, const std::function<Status(const QSqlDatabase&)>& use) {
  // Read-only: a running copy of the program goes on writing meanwhile.
  db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
  if (!db.open()) return Status::Error(db.lastError().text().toStdString(), StatusKind::Unreadable);
  {
    QSqlQuery version(db);
    if (!version.exec(QStringLiteral("PRAGMA user_version")) || !version.next()) {
      return Status::Error(version.lastError().databaseText().toStdString(),
                           StatusKind::Unreadable);
    }
    if (version.value(0).toInt() > SessionJournal::kSchemaVersion) {
      return Status::Error("it was written by a newer version of Tempodial",
                           StatusKind::Unreadable);
    }
  }
  return use(db);
}

}  // namespace

QString journalPath(const QString& dataFolder) {
  return dataFolder + QStringLiteral("/history.sqlite3");
}

Status readJournal(const QString& path, const std::function<Status(const QSqlDatabase&)>& use) {
  if (!QFileInfo(path).isFile()) return Status::Error("no journal", StatusKind::NotFound);
  const QString connection = QStringLiteral("tempodial-command-line");
  Status status = Status::Ok();
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(path);
    status = opened(db, use);
  }
  QSqlDatabase::removeDatabase(connection);
  return status;
}

}  // namespace tempodial
