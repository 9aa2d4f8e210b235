#include "platform/desktop/single_instance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
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

SingleInstance::SingleInstance(const QString& root, QObject* parent)
    : QObject(parent),
      root_(root),
      serverName_(serverNameFor(root)),
      lock_(root + QStringLiteral("/tempodial.lock")) {
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

bool SingleInstance::acquire() {
  QDir().mkpath(root_);
  if (!lock_.tryLock(0)) return lock_.error() != QLockFile::LockFailedError;
  // The lock is ours, so a socket left behind by a killed copy is stale.
  if (!server_.listen(serverName_)) {
    QLocalServer::removeServer(serverName_);
    server_.listen(serverName_);
  }
  return true;
}

bool SingleInstance::raiseRunningCopy() {
  // The running copy may still be starting: give it a little time to listen.
  QDeadlineTimer deadline(3000);
  while (!deadline.hasExpired()) {
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (socket.waitForConnected(500)) {
      socket.write("raise\n");
      socket.waitForBytesWritten(500);
      if (socket.state() == QLocalSocket::ConnectedState) socket.waitForDisconnected(500);
      return true;
    }
    QThread::msleep(100);
  }
  return false;
}

}  // namespace tempodial
