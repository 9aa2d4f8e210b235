// Runs the real main window's clock offscreen for N ticks (default 300) and
// prints how late the last tick came against start + N seconds, and the
// largest lateness of any single tick.  Usage: clock_drift [ticks]
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/forms/controls.h"
#include "platform/forms/form_timer.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/scripted_services.h"
#include "platform/session/clock_session.h"
#include "windows/main/forms.h"
#include "windows/main/main_window.h"

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int ticks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;

  QTemporaryDir home;
  tempodial::ScriptedServices services;
  tempodial::Runtime runtime(services, tempodial::Places(home.path() + "/tempodial"));
  tempodial::ClockSession session(runtime);
  tempodial::registerForms(runtime, session);
  auto& main = runtime.form<tempodial::MainWindow>();
  main.show();

  QElapsedTimer clock;
  int seen = 0;
  qint64 worst = 0;
  qint64 lastLateness = 0;
  auto tick = main.Timer1->onTick;
  main.Timer1->onTick = [&] {
    services.clockMs = clock.elapsed();  // the clock counts real elapsed time
    tick();
    ++seen;

    const qint64 lateness = clock.nsecsElapsed() - seen * 1'000'000'000LL;
    worst = std::max(worst, lateness);
    lastLateness = lateness;
    // exit(), not quit(): quit() asks every window to close, and the
    // program's windows refuse a close that does not go through them.
    if (seen == ticks) QCoreApplication::exit(0);
  };
  clock.start();
  main.SSCommand1->click();
  QApplication::exec();

  std::printf("ticks: %d\nshown: %s:%s:%s\n", seen, qPrintable(main.RichTextBox3->text()),
              qPrintable(main.RichTextBox2->text()), qPrintable(main.RichTextBox1->text()));
  std::printf("last tick lateness: %.3f ms\nlargest single lateness: %.3f ms\n", lastLateness / 1e6,
              worst / 1e6);
  return 0;
}
