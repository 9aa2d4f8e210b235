// Tempodial: times online sessions by hand, estimates what the connection
// costs, keeps the totals between runs and starts the user's Internet programs.
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "platform/control/clock_control.h"
#include "platform/control/control_verbs.h"
#include "platform/desktop/single_instance.h"
#include "platform/desktop/system_end.h"
#include "platform/forms/program_style.h"
#include "platform/journal/history_export.h"
#include "platform/plans/plan_quote_command.h"
#include "platform/runtime/display_check.h"
#include "platform/runtime/first_paint_probe.h"
#include "platform/runtime/input_paint_probe.h"
#include "platform/runtime/qt_services.h"
#include "platform/runtime/runtime.h"
#include "windows/desktop/desktop_extras.h"
#include "windows/main/forms.h"
#include "windows/main/main_window.h"
#include "windows/start_and_exit/splash_window.h"

namespace {

constexpr const char* kUsage =
    "Usage: tempodial [--help] [--version] [--login] [Qt options]\n"
    "       tempodial --export-history FILE|- [--from YYYY-MM-DD] [--to YYYY-MM-DD]\n"
    "       tempodial --quote YYYY-MM-DDTHH:MM[:SS] h:mm:ss [--plan NAME] [--data MB]\n"
    "       tempodial --start | --stop | --toggle | --status [--json]\n"
    "\n"
    "Times your online sessions by hand, estimates what the connection costs at a\n"
    "per-minute tariff, keeps the totals between runs and starts your Internet\n"
    "programs.\n"
    "\n"
    "Files live in $XDG_DATA_HOME/tempodial/ (default ~/.local/share/tempodial/)\n"
    "and its wex/ folder.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "  -v, --version  show the version and exit\n"
    "  --login        started with the desktop session: the main window waits\n"
    "                 behind the status icon where there is one\n"
    "  --export-history FILE  write the kept sessions as CSV to FILE (- for\n"
    "                 standard output), without a display; --from and --to\n"
    "                 choose the days the sessions started on\n"
    "  --quote START DURATION  print what a run starting at START (local time)\n"
    "                 and lasting DURATION would cost under the tariff plan in\n"
    "                 use or the one --plan names, without a display\n"
    "  --start, --stop, --toggle  start, stop or press Start/Stop of the running\n"
    "                 copy's clock over the session bus (--start starts a copy\n"
    "                 when none runs)\n"
    "  --status [--json]  print the running copy's clock, cost and data volume\n"
    "                 on one line, or as one JSON object for panel modules\n";

// Answers --help and --version before any window system is needed. Returns
// true when the program should end.
bool answeredOption(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return true;
    }
    if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0) {
      std::printf("Tempodial %s\n", TEMPODIAL_VERSION);
      return true;
    }
  }
  return false;
}

// --from and --to choose the days of an export and mean nothing without one:
// a usage error, told before any display is looked for.
bool daysWithoutExport(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--from") == 0 || std::strcmp(argv[i], "--to") == 0) {
      const std::string_view usage(kUsage);
      const std::string_view lines = usage.substr(0, usage.find("\n\n") + 1);
      std::fprintf(stderr, "tempodial: %s goes with --export-history\n%.*s", argv[i],
                   static_cast<int>(lines.size()), lines.data());
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (answeredOption(argc, argv)) return 0;
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  if (const auto status = tempodial::runControlVerb(arguments)) return *status;
  if (tempodial::asksForHistoryExport(argc, argv)) return tempodial::exportHistory(argc, argv);
  if (tempodial::asksForQuote(argc, argv)) return tempodial::printQuote(argc, argv);
  if (daysWithoutExport(argc, argv)) return 1;
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
    std::fputs(instance.otherCopyShown()
                   ? "tempodial: already running; its window has been brought to the front\n"
                   : "tempodial: already running; its window could not be shown yet\n",
               stderr);
    return 0;
  }

  tempodial::QtServices services;
  tempodial::Runtime runtime(services, places);
  tempodial::registerForms(runtime);
  const auto control = tempodial::exportClockControl(
      runtime, [&runtime] { runtime.form<tempodial::MainWindow>().reset(); },
      [&runtime] { runtime.form<tempodial::MainWindow>().bringToFront(); });
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--login") == 0) tempodial::setStartedAtLogin(true);
  }
  instance.onRaise = [&runtime] { return tempodial::bringMainWindowToFront(runtime); };
  // Logout, shutdown or kill: the running session is kept in the journal and
  // the program ends without a question.
  tempodial::SystemEnd systemEnd;
  QObject::connect(&systemEnd, &tempodial::SystemEnd::requested, &app,
                   [&runtime] { tempodial::endForSystem(runtime); });
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
