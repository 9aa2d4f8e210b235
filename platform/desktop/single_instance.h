// One copy of the program at a time on a data directory: the first copy
// holds a lock file beside the data and listens on a local (Unix) socket
// named after the data directory, in the user's private runtime folder (or a
// private folder of the user's under the temporary folder), where nobody else
// can make that name first; a second copy of the same user asks it to come
// to the front and ends. The lock is a file that holds the process id from
// the moment it exists, and is held by the kernel for as long as its process
// lives: one left by a killed copy, or left empty by a power cut, is taken
// over quietly. A start whose lock a live copy holds never runs beside it,
// whether or not that copy can be reached. A lock that can be neither taken
// nor taken over (a full disk, a path too long) never keeps the program from
// starting.
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace tempodial {

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  // `root` is the folder that holds the data directory. A copy that holds
  // the lock is given `answerWaitMs` to answer, as it may still be starting.
  explicit SingleInstance(const QString& root, int answerWaitMs = 3000, QObject* parent = nullptr);
  ~SingleInstance() override;

  // Returns false iff another copy runs on this data: it answered on the
  // local socket and has been asked to come to the front (`notice` stays
  // empty), or it holds the lock but could not be reached (`notice` says
  // which process it is and why). Otherwise this copy runs; `notice` says
  // why a second copy would not be noticed where the lock could not be
  // taken, or why a second start could not reach this copy where its socket
  // could not be made.
  bool acquire(QString* notice);

  // After acquire() returned false: true iff the copy that runs answered
  // that its window is now in view.
  bool otherCopyShown() const { return otherShown_; }

  // Runs when another start asks this copy to come to the front; returns
  // true iff the window is then in view. Its answer goes back to the start
  // that asked.
  std::function<bool()> onRaise;

 private:
  // Asks the copy on the local socket to come to the front, trying for
  // `waitMs`. Returns true iff it answered; its answer whether its window
  // is in view is kept, and otherwise why it could not be reached.
  bool raiseRunningCopy(int waitMs);
  enum class Lock { Taken, Held, Failed };
  // Takes the lock file: a file with this process's id is made beside it and
  // linked into its place in one step, or put in the place of a lock that no
  // live process holds. Held: a live copy holds it.
  Lock takeLock();
  // The process id the lock file names; 0 when it names none.
  qint64 holder() const;
  void listen();
  // Takes the waiting requests; each of the same user asks to come forward.
  void answer();

  QString root_;
  QByteArray socketPath_;  // empty where there is no private folder for it
  QString socketFault_;    // why this copy has no socket, in words
  QString unreachable_;    // why the running copy could not be reached
  QString lockPath_;
  int lockFd_ = -1;    // the open lock file while this copy holds it
  int lockError_ = 0;  // errno of the last failure to take it
  int listener_ = -1;
  QSocketNotifier* requests_ = nullptr;
  int answerWaitMs_;
  bool otherShown_ = false;
};

}  // namespace tempodial
