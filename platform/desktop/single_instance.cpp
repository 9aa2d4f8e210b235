#include "platform/desktop/single_instance.h"

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>
#include <algorithm>
#include <cstring>

namespace tempodial {
namespace {

// A socket path of fixed length for the data directory, so that copies
// started on the same data meet and copies on other data do not.
QByteArray socketPathFor(const QString& root) {
  const QByteArray hash =
      QCryptographicHash::hash(QDir::cleanPath(root).toUtf8(), QCryptographicHash::Sha256);
  return QFile::encodeName(QDir::tempPath() + QStringLiteral("/tempodial-") +
                           QString::fromLatin1(hash.toHex().left(24)));
}

// The address of `path`; false when the path is too long for one.
bool addressOf(const QByteArray& path, sockaddr_un* address) {
  *address = sockaddr_un{};
  address->sun_family = AF_UNIX;
  if (path.isEmpty() || static_cast<size_t>(path.size()) >= sizeof(address->sun_path)) return false;
  std::memcpy(address->sun_path, path.constData(), static_cast<size_t>(path.size()));
  return true;
}

// The other end of `socket` is a process of this user: nobody else may make
// this copy come forward, or pass for it.
bool peerIsThisUser(int socket) {
  ucred peer{};
  socklen_t size = sizeof peer;
  return ::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
}

// Non-blocking: a copy that is stuck cannot hold up the one asking it.
int newSocket() { return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0); }

}  // namespace

SingleInstance::SingleInstance(const QString& root, int answerWaitMs, QObject* parent)
    : QObject(parent),
      root_(root),
      socketPath_(socketPathFor(root)),
      lock_(root + QStringLiteral("/tempodial.lock")),
      answerWaitMs_(answerWaitMs) {
  // Only a lock whose process has gone is stale, however old it is.
  lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
  if (listener_ < 0) return;
  ::close(listener_);
  ::unlink(socketPath_.constData());
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
  if (listener_ >= 0) return;
  sockaddr_un address;
  if (!addressOf(socketPath_, &address)) return;
  const int socket = newSocket();
  if (socket < 0) return;
  const auto bind = [&] {
    // Only this user may connect.
    const mode_t mask = ::umask(0077);
    const int bound = ::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    ::umask(mask);
    return bound == 0;
  };
  struct stat info {};
  // No copy answered, so a socket left behind by a killed copy is stale.
  if (!bind() && !(::lstat(socketPath_.constData(), &info) == 0 && S_ISSOCK(info.st_mode) &&
                   ::unlink(socketPath_.constData()) == 0 && bind())) {
    ::close(socket);
    return;
  }
  if (::listen(socket, 8) != 0) {
    ::close(socket);
    return;
  }
  listener_ = socket;
  requests_ = new QSocketNotifier(listener_, QSocketNotifier::Read, this);
  connect(requests_, &QSocketNotifier::activated, this, &SingleInstance::answer);
}

void SingleInstance::answer() {
  pollfd waiting{listener_, POLLIN, 0};
  while (::poll(&waiting, 1, 0) == 1) {
    const int request = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (request < 0) return;
    if (peerIsThisUser(request)) {
      // The request's words say nothing more than the connection does.
      char words[16];
      while (::recv(request, words, sizeof words, MSG_DONTWAIT) > 0) {
      }
      const bool shown = onRaise && onRaise();
      const QByteArray reply = shown ? "shown\n" : "hidden\n";
      ::send(request, reply.constData(), static_cast<size_t>(reply.size()),
             MSG_NOSIGNAL | MSG_DONTWAIT);
    }
    ::close(request);
  }
}

bool SingleInstance::raiseRunningCopy(int waitMs) {
  sockaddr_un address;
  if (!addressOf(socketPath_, &address)) return false;
  QDeadlineTimer deadline(waitMs);
  do {
    const int socket = newSocket();
    if (socket < 0) return false;
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        peerIsThisUser(socket)) {
      ::send(socket, "raise\n", 6, MSG_NOSIGNAL);
      // The copy answers whether its window is in view, and closes the
      // connection; a copy that is stuck has not shown it.
      pollfd heard{socket, POLLIN | POLLHUP, 0};
      char answer[16] = {};
      otherShown_ = ::poll(&heard, 1, std::max(answerWaitMs_, 500)) == 1 &&
                    ::recv(socket, answer, sizeof answer - 1, 0) > 0 &&
                    std::strncmp(answer, "shown\n", 6) == 0;
      ::close(socket);
      return true;
    }
    ::close(socket);
    if (!deadline.hasExpired()) QThread::msleep(100);
  } while (!deadline.hasExpired());
  return false;
}

}  // namespace tempodial
