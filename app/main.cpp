// Tempodial: times online sessions by hand, estimates what the connection
// costs, keeps the totals between runs and starts the user's Internet programs.
#include <QApplication>
#include <cstdio>

#include "platform/command_line/command_line.h"
#include "platform/command_line/display_less_start.h"
#include "platform/control/clock_control.h"
#include "platform/desktop/single_instance.h"
#include "platform/desktop/system_end.h"
#include "platform/forms/program_style.h"
#include "platform/runtime/display_check.h"
#include "platform/runtime/first_paint_probe.h"
#include "platform/runtime/input_paint_probe.h"
#include "platform/runtime/qt_services.h"
#include "platform/runtime/runtime.h"
#include "platform/session/clock_session.h"
#include "windows/desktop/desktop_extras.h"
#include "windows/main/forms.h"
#include "windows/main/main_window.h"
#include "windows/start_and_exit/splash_window.h"

int main(int argc, char* argv[]) {
  using Mode = tempodial::CommandLine::Mode;
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const tempodial::CommandLine line = tempodial::readCommandLine(arguments);
  switch (line.mode) {
    case Mode::Help:
      std::fputs(tempodial::usageText(), stdout);
      return 0;
    case Mode::Version:
      std::printf("Tempodial %s\n", TEMPODIAL_VERSION);
      return 0;
    case Mode::Misuse:
      // Told before any display is looked for.
      std::fprintf(stderr, "tempodial: %s\n%s", qUtf8Printable(line.misuse),
                   qUtf8Printable(line.usage));
      return 1;
    case Mode::Control:
    case Mode::Export:
    case Mode::Quote:
      return tempodial::runWithoutDisplay(line);
    case Mode::Window:
      break;
  }
  tempodial::exitUnlessDisplayCanOpen(argc, argv);

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tempodial"));
  QApplication::setApplicationVersion(QStringLiteral(TEMPODIAL_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral("tempodial"));
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setStyle(new tempodial::ProgramStyle);
  tempodial::installFirstPaintProbe();
  tempodial::installInputPaintProbe();

  QString placeNotice;
  const tempodial::Places places = tempodial::Places::fromEnvironment(&placeNotice);
  tempodial::SingleInstance instance(places.root());
  QString lockNotice;
  if (!instance.acquire(&lockNotice)) {
    if (!lockNotice.isEmpty()) {
      std::fprintf(stderr, "tempodial: %s\n", qPrintable(lockNotice));
      return 1;
    }
    std::fputs(instance.otherCopyShown()
                   ? "tempodial: already running; its window has been brought to the front\n"
                   : "tempodial: already running; its window could not be shown yet\n",
               stderr);
    return 0;
  }

  tempodial::QtServices services;
  tempodial::Runtime runtime(services, places);
  // The clock session runs by itself; every window and service is handed it.
  tempodial::ClockSession session(runtime);
  tempodial::registerForms(runtime, session);
  const auto control = tempodial::exportClockControl(
      session, [&runtime] { runtime.form<tempodial::MainWindow>().reset(); },
      [&runtime] { runtime.form<tempodial::MainWindow>().bringToFront(); });
  if (line.login) tempodial::setStartedAtLogin(true);
  instance.onRaise = [&runtime] { return tempodial::bringMainWindowToFront(runtime); };
  // Logout, shutdown or kill: the running session is kept in the journal and
  // the program ends without a question.
  tempodial::SystemEnd systemEnd;
  QObject::connect(&systemEnd, &tempodial::SystemEnd::requested, &app,
                   [&session] { session.endForSystem(); });
  // Told before the splash window stands: the splash window goes away under
  // any message shown over it.
  for (const QString& notice : {placeNotice, lockNotice}) {
    if (notice.isEmpty()) continue;
    std::fprintf(stderr, "tempodial: %s\n", qPrintable(notice));
    runtime.message(notice);
  }
  // The splash window starts the program: its load makes sure the data
  // directory exists, and a second later its timer hands over to the main
  // window.
  runtime.form<tempodial::SplashWindow>().show();
  return QApplication::exec();
}
