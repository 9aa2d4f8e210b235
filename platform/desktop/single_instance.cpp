#include "platform/desktop/single_instance.h"

#include <signal.h>

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QThread>

namespace tempodial {
namespace {

// A name of fixed length for the data directory, so that copies started on
// the same data meet and copies on other data do not.
QString serverNameFor(const QString& root) {
  const QByteArray hash =
      QCryptographicHash::hash(QDir::cleanPath(root).toUtf8(), QCryptographicHash::Sha256);
  return QStringLiteral("tempodial-") + QString::fromLatin1(hash.toHex().left(24));
}

}  // namespace

SingleInstance::SingleInstance(const QString& root, int answerWaitMs, QObject* parent)
    : QObject(parent),
      root_(root),
      serverName_(serverNameFor(root)),
      lock_(root + QStringLiteral("/tempodial.lock")),
      answerWaitMs_(answerWaitMs) {
  // Only a lock whose process has gone is stale, however old it is.
  lock_.setStaleLockTime(0);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      socket->disconnectFromServer();
      Q_EMIT raiseRequested();
    }
  });
}

bool SingleInstance::acquire(QString* notice) {
  QDir().mkpath(root_);
  if (lock_.tryLock(0)) {
    listen();
    return true;
  }
  // Only a copy that is alive may still be starting; otherwise one attempt.
  const qint64 holder = liveHolder();
  if (raiseRunningCopy(holder != 0 ? answerWaitMs_ : 0)) return false;
  if (notice != nullptr) {
    *notice = QStringLiteral(
                  "Tempodial could not take its lock file %1 (%2). It starts anyway, but "
                  "another copy started on the same data would not be noticed.")
                  .arg(lock_.fileName(), lockFailure(holder));
  }
  // A later start can still find this copy through the socket.
  listen();
  return true;
}

qint64 SingleInstance::liveHolder() const {
  qint64 holder = 0;
  QString host, application;
  if (lock_.error() != QLockFile::LockFailedError ||
      !lock_.getLockInfo(&holder, &host, &application) || holder <= 0 ||
      ::kill(static_cast<pid_t>(holder), 0) != 0) {
    return 0;
  }
  return holder;
}

QString SingleInstance::lockFailure(qint64 holder) {
  if (holder != 0) {
    return QStringLiteral("process %1 holds it and does not answer").arg(holder);
  }
  // A lock left by a copy that ended, or none: what writing there says.
  QFile probe(root_ + QStringLiteral("/tempodial.lock.probe"));
  QString reason;
  if (!probe.open(QIODevice::WriteOnly) || probe.write("probe\n", 6) != 6 || !probe.flush()) {
    reason = probe.errorString();
  }
  probe.close();
  probe.remove();
  if (!reason.isEmpty()) return reason;
  if (lock_.error() == QLockFile::PermissionError) return QStringLiteral("permission denied");
  return lock_.error() == QLockFile::LockFailedError
             ? QStringLiteral("a lock left by a copy that has ended cannot be removed")
             : QStringLiteral("it cannot be created");
}

void SingleInstance::listen() {
  if (server_.isListening()) return;
  // No copy answered, so a socket left behind by a killed copy is stale.
  if (!server_.listen(serverName_)) {
    QLocalServer::removeServer(serverName_);
    server_.listen(serverName_);
  }
}

bool SingleInstance::raiseRunningCopy(int waitMs) {
  QDeadlineTimer deadline(waitMs);
  do {
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (socket.waitForConnected(500)) {
      socket.write("raise\n");
      socket.waitForBytesWritten(500);
      if (socket.state() == QLocalSocket::ConnectedState) socket.waitForDisconnected(500);
      return true;
    }
    if (!deadline.hasExpired()) QThread::msleep(100);
  } while (!deadline.hasExpired());
  return false;
}

}  // namespace tempodial
