// One copy of the program at a time on a data directory: the first copy
// holds a lock file beside the data and listens on a local socket named
// after the data directory; a second copy asks it to come to the front and
// ends. A lock left by a killed copy is taken over.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

namespace tempodial {

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  // `root` is the folder that holds the data directory.
  explicit SingleInstance(const QString& root, QObject* parent = nullptr);

  // Returns true iff this copy may run: it holds the lock and listens, or
  // the lock cannot be had for a reason other than another copy (a folder
  // that cannot be written), in which case the program runs as before.
  bool acquire();

  // Asks the copy that holds the lock to bring its window to the front.
  // Returns true iff it answered.
  bool raiseRunningCopy();

 Q_SIGNALS:
  // Another start asked this copy to come to the front.
  void raiseRequested();

 private:
  QString root_;
  QString serverName_;
  QLockFile lock_;
  QLocalServer server_;
};

}  // namespace tempodial
