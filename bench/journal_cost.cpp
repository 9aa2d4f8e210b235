// What the session journal costs per hour of running clock: the real main
// window offscreen counts N hours (default 1) of ticks, once with the clock
// alone (a second added per tick, as before the journal) and once with the
// real clock path and its journal on a real disk. Prints the CPU time of each,
// their ratio, and the bytes the run with the journal wrote (from
// /proc/self/io). Usage: journal_cost [hours] [folder on the disk to measure]
#include <time.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "platform/forms/controls.h"
#include "platform/forms/form_timer.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/scripted_services.h"
#include "platform/session/clock_session.h"
#include "windows/main/forms.h"
#include "windows/main/main_window.h"

namespace {

double cpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// A field of /proc/self/io ("wchar", "write_bytes").
long long ioField(const char* name) {
  QFile io(QStringLiteral("/proc/self/io"));
  if (!io.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : io.readAll().split('\n')) {
    if (line.startsWith(QByteArray(name) + ':'))
      return line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
  }
  return -1;
}

struct Figures {
  double cpu;
  long long wchar;
  long long writeBytes;
};

// Runs `seconds` ticks of the clock; `withJournal` takes the real clock path.
Figures run(const QString& folder, int seconds, bool withJournal) {
  QTemporaryDir home(folder + QStringLiteral("/journal-cost-XXXXXX"));
  tempodial::ScriptedServices services;
  tempodial::Runtime runtime(services, tempodial::Places(home.path() + "/tempodial"));
  tempodial::ClockSession session(runtime);
  tempodial::registerForms(runtime, session);
  auto& main = runtime.form<tempodial::MainWindow>();
  main.show();
  QCoreApplication::processEvents();
  if (withJournal) main.SSCommand1->click();
  const long long wchar = ioField("wchar");
  const long long written = ioField("write_bytes");
  const double start = cpuSeconds();
  for (int i = 0; i < seconds; ++i) {
    services.clockMs += 1000;
    if (withJournal) {
      main.Timer1->elapse();
    } else {
      main.tick();
    }
    QCoreApplication::processEvents();
  }
  if (withJournal) main.SSCommand1->click();
  for (const QString& message : services.messages)
    std::printf("message: %s\n", qPrintable(message));
  return {cpuSeconds() - start, ioField("wchar") - wchar, ioField("write_bytes") - written};
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int hours = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
  const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("/var/tmp");
  const int seconds = hours * 3600;
  run(folder, 60, true);  // warm up: fonts, the SQLite driver
  const Figures alone = run(folder, seconds, false);
  const Figures journal = run(folder, seconds, true);
  std::printf("ticks: %d (%d h)\n", seconds, hours);
  std::printf("CPU without journal: %.3f s per hour\n", alone.cpu / hours);
  std::printf("CPU with journal:    %.3f s per hour\n", journal.cpu / hours);
  std::printf("ratio: %.3f\n", journal.cpu / alone.cpu);
  std::printf(
      "written with journal: %lld bytes per hour by write calls, %lld bytes per hour to the disk\n",
      journal.wchar / hours, journal.writeBytes / hours);
  return 0;
}
