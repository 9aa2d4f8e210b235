#include "platform/desktop/single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QSysInfo>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/files/places.h"

namespace tempodial {
namespace {

// The folder for the socket: the user's runtime folder ($XDG_RUNTIME_DIR)
// where it is the user's own and private, else a private folder of the
// user's under the temporary folder, made if it is missing. Nobody else can
// make a name in either before this copy does. Empty, and `why`, when
// neither is private.
QString socketFolder(QString* why) {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (QDir::isAbsolutePath(runtime) && whyNotPrivate(runtime).isEmpty()) return runtime;
  const QString own =
      QDir::tempPath() + QStringLiteral("/tempodial-") + QString::number(::getuid());
  ::mkdir(QFile::encodeName(own).constData(), 0700);
  const QString refusal = whyNotPrivate(own);
  if (refusal.isEmpty()) return own;
  *why = QStringLiteral("%1 is not your own private folder (%2)").arg(own, refusal);
  return {};
}

// A socket name of fixed length for the data directory, so that copies
// started on the same data meet and copies on other data do not.
QByteArray socketPathFor(const QString& root, QString* why) {
  const QString folder = socketFolder(why);
  if (folder.isEmpty()) return {};
  const QByteArray hash =
      QCryptographicHash::hash(QDir::cleanPath(root).toUtf8(), QCryptographicHash::Sha256);
  return QFile::encodeName(folder + QStringLiteral("/tempodial-") +
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
      lockPath_(root + QStringLiteral("/tempodial.lock")),
      answerWaitMs_(answerWaitMs) {
  socketPath_ = socketPathFor(root, &socketFault_);
}

SingleInstance::~SingleInstance() {
  if (lockFd_ >= 0) {
    // Removed only while it is still this copy's own.
    struct stat held {};
    struct stat there {};
    const QByteArray path = QFile::encodeName(lockPath_);
    if (::fstat(lockFd_, &held) == 0 && ::stat(path.constData(), &there) == 0 &&
        held.st_dev == there.st_dev && held.st_ino == there.st_ino) {
      ::unlink(path.constData());
    }
    ::close(lockFd_);
  }
  if (listener_ < 0) return;
  ::close(listener_);
  ::unlink(socketPath_.constData());
}

bool SingleInstance::acquire(QString* notice) {
  QDir().mkpath(root_);
  const Lock lock = takeLock();
  if (lock == Lock::Taken) {
    listen();
    if (notice != nullptr && !socketFault_.isEmpty()) {
      *notice = QStringLiteral(
                    "Tempodial cannot make its socket: %1. A second start on the same data "
                    "cannot reach this copy to bring its window to the front; it says so and "
                    "ends.")
                    .arg(socketFault_);
    }
    return true;
  }
  // A copy that holds the lock is alive and may still be starting.
  if (raiseRunningCopy(lock == Lock::Held ? answerWaitMs_ : 0)) return false;
  if (lock == Lock::Held) {
    // Never a second copy on the same data, even one that cannot be asked.
    if (notice != nullptr) {
      const qint64 pid = holder();
      *notice =
          QStringLiteral(
              "%1 runs on the same data (it holds the lock file %2) but could not be "
              "reached: %3. Tempodial does not start a second copy.")
              .arg(pid > 0 ? QStringLiteral("Process %1").arg(pid) : QStringLiteral("Another copy"),
                   lockPath_, unreachable_);
    }
    return false;
  }
  if (notice != nullptr) {
    *notice = QStringLiteral(
                  "Tempodial could not take its lock file %1 (%2). It starts anyway, but "
                  "another copy started on the same data would not be noticed.")
                  .arg(lockPath_, QString::fromLocal8Bit(std::strerror(lockError_)));
  }
  // A later start can still find this copy through the socket.
  listen();
  return true;
}

SingleInstance::Lock SingleInstance::takeLock() {
  const QByteArray path = QFile::encodeName(lockPath_);
  QByteArray made = path + ".XXXXXX";
  const int fd = ::mkostemp(made.data(), O_CLOEXEC);
  if (fd < 0) {
    lockError_ = errno;
    return Lock::Failed;
  }
  // What QLockFile writes: the id, the program and the host, one a line.
  const QByteArray id = QByteArray::number(::getpid()) + "\ntempodial\n" +
                        QSysInfo::machineHostName().toUtf8() + '\n';
  // The kernel holds the lock for as long as this process lives (children
  // do not inherit it: the file is closed on exec).
  Lock result = Lock::Failed;
  errno = 0;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fchmod(fd, 0644) != 0 ||
      ::write(fd, id.constData(), static_cast<size_t>(id.size())) != id.size()) {
    lockError_ = errno != 0 ? errno : ENOSPC;
  } else {
    lockError_ = EBUSY;  // replaced again and again while being taken over
    for (int attempt = 0; attempt < 8 && result == Lock::Failed; ++attempt) {
      if (::link(made.constData(), path.constData()) == 0) {
        result = Lock::Taken;
        break;
      }
      if (errno != EEXIST) {
        lockError_ = errno;
        break;
      }
      const int old = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
      if (old < 0) {
        if (errno == ENOENT) continue;  // removed meanwhile: try again
        lockError_ = errno;
        break;
      }
      if (::flock(old, LOCK_EX | LOCK_NB) != 0) {
        result = Lock::Held;
      } else {
        // No live process holds it: its copy has ended, or a power cut left
        // it empty. Taken over if it is still the one in the place.
        struct stat locked {};
        struct stat there {};
        if (::fstat(old, &locked) == 0 && ::stat(path.constData(), &there) == 0 &&
            locked.st_dev == there.st_dev && locked.st_ino == there.st_ino) {
          if (::rename(made.constData(), path.constData()) == 0) {
            made.clear();
            result = Lock::Taken;
          } else {
            lockError_ = errno;
            ::close(old);
            break;
          }
        }
      }
      ::close(old);
    }
  }
  if (!made.isEmpty()) ::unlink(made.constData());
  if (result == Lock::Taken) {
    lockFd_ = fd;
  } else {
    ::close(fd);
  }
  return result;
}

qint64 SingleInstance::holder() const {
  QFile lock(lockPath_);
  if (!lock.open(QIODevice::ReadOnly)) return 0;
  return lock.readLine(32).trimmed().toLongLong();
}

void SingleInstance::listen() {
  if (listener_ >= 0 || socketPath_.isEmpty()) return;
  const QString path = QFile::decodeName(socketPath_);
  sockaddr_un address;
  if (!addressOf(socketPath_, &address)) {
    socketFault_ = QStringLiteral("the path %1 is too long for a socket").arg(path);
    return;
  }
  const auto failed = [&](int socket) {
    socketFault_ = QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    if (socket >= 0) ::close(socket);
  };
  const int socket = newSocket();
  if (socket < 0) return failed(socket);
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
    return failed(socket);
  }
  // Room for many copies started at once, each waiting for its answer.
  if (::listen(socket, 64) != 0) return failed(socket);
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
  unreachable_ = socketFault_;
  if (socketPath_.isEmpty()) return false;
  const QString path = QFile::decodeName(socketPath_);
  sockaddr_un address;
  if (!addressOf(socketPath_, &address)) {
    unreachable_ = QStringLiteral("the path %1 is too long for a socket").arg(path);
    return false;
  }
  QDeadlineTimer deadline(waitMs);
  do {
    const int socket = newSocket();
    if (socket < 0) {
      unreachable_ = QString::fromLocal8Bit(std::strerror(errno));
      return false;
    }
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
      unreachable_ = QStringLiteral("its socket %1 cannot be opened (%2)")
                         .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    } else if (!peerIsThisUser(socket)) {
      unreachable_ = QStringLiteral("the socket %1 is another user's").arg(path);
    } else {
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
