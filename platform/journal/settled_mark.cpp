#include "platform/journal/settled_mark.h"

#include <sys/stat.h>

#include <QFile>
#include <QSaveFile>
#include <cerrno>

namespace tempodial {
namespace {

QString markPath(const QString& journalPath) { return journalPath + QStringLiteral(".settled"); }

// The journal file's device, inode, size and change time, or empty when it
// cannot be read.
QByteArray stampOf(const QString& journalPath, bool* missing = nullptr) {
  struct stat info {};
  if (::stat(QFile::encodeName(journalPath).constData(), &info) != 0) {
    if (missing != nullptr) *missing = errno == ENOENT;
    return {};
  }
  return QByteArray::number(quint64(info.st_dev)) + ' ' + QByteArray::number(quint64(info.st_ino)) +
         ' ' + QByteArray::number(qint64(info.st_size)) + ' ' +
         QByteArray::number(qint64(info.st_mtim.tv_sec)) + '.' +
         QByteArray::number(qint64(info.st_mtim.tv_nsec)) + '\n';
}

}  // namespace

bool journalMayHoldQuestion(const QString& journalPath) {
  bool missing = false;
  const QByteArray stamp = stampOf(journalPath, &missing);
  if (missing) return false;
  if (stamp.isEmpty() || QFile::exists(journalPath + QStringLiteral("-wal"))) return true;
  QFile mark(markPath(journalPath));
  return !mark.open(QIODevice::ReadOnly) || mark.read(stamp.size() + 1) != stamp;
}

void markJournalSettled(const QString& journalPath, bool settled) {
  const QByteArray stamp = settled ? stampOf(journalPath) : QByteArray();
  if (stamp.isEmpty() || QFile::exists(journalPath + QStringLiteral("-wal"))) {
    QFile::remove(markPath(journalPath));
    return;
  }
  // A mark that cannot be written only means the next start looks.
  QSaveFile mark(markPath(journalPath));
  if (mark.open(QIODevice::WriteOnly) && mark.write(stamp) == stamp.size()) mark.commit();
}

}  // namespace tempodial
