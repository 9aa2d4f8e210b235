// Tells the program that the system wants it to end: SIGTERM, SIGINT or
// SIGHUP (logout, shutdown, a terminal closed, kill), or the end of the
// desktop session. The signal handler only writes to a pipe; the program
// hears of it on its own thread through a socket notifier.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace tempodial {

class SystemEnd : public QObject {
  Q_OBJECT
 public:
  // Installs the handlers; one object per process.
  explicit SystemEnd(QObject* parent = nullptr);
  ~SystemEnd() override;

 Q_SIGNALS:
  // The program should end now, without asking anything.
  void requested();

 private:
  void readSignal();
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace tempodial
