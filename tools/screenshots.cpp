// Renders each of the twelve windows (the main window with the cost area
// hidden and shown, the Options window on each page) to PNG files for review
// and for the user guide:  screenshots <folder>
#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>

#include "platform/runtime.h"
#include "platform/scripted_services.h"
#include "windows/about_window.h"
#include "windows/button_bar.h"
#include "windows/button_bar_question.h"
#include "windows/exit_window.h"
#include "windows/forms.h"
#include "windows/help_window.h"
#include "windows/locations_window.h"
#include "windows/main_window.h"
#include "windows/options_window.h"
#include "windows/password_window.h"
#include "windows/reset_window.h"
#include "windows/short_time_exit_window.h"
#include "windows/splash_window.h"

namespace {

QString folder;

void save(QWidget& window, const QString& name) {
  window.show();
  QApplication::processEvents();
  const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
  if (!window.grab().save(path)) std::fprintf(stderr, "could not write %s\n", qPrintable(path));
  std::printf("%s\n", qPrintable(path));
}

template <typename W>
void shoot(tempodial::Runtime& runtime, const QString& name) {
  W& window = runtime.form<W>();
  save(window, name);
  window.hide();
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: screenshots <folder>\n");
    return 2;
  }
  folder = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(folder);

  using namespace tempodial;
  QTemporaryDir home;
  ScriptedServices services;
  Runtime runtime(services, Places(home.path() + QStringLiteral("/tempodial")));
  registerForms(runtime);

  // The splash first, as the program starts; it is gone once the main window loads.
  save(runtime.form<SplashWindow>(), QStringLiteral("splash"));
  runtime.unload(QString::fromLatin1(SplashWindow::kName));

  auto& main = runtime.form<MainWindow>();
  main.refreshCaptions();
  save(main, QStringLiteral("main-cost-hidden"));
  main.showNow();
  save(main, QStringLiteral("main-cost-shown"));

  auto& options = runtime.form<OptionsWindow>();
  const char* pages[] = {"options-window-options", "options-customising-cost",
                         "options-specific-costs"};
  for (int page = 0; page < options.SSTab1->count(); ++page) {
    options.SSTab1->setCurrentIndex(page);
    save(options, QString::fromLatin1(pages[page]));
  }
  options.SSTab1->setCurrentIndex(0);
  options.hide();

  shoot<LocationsWindow>(runtime, QStringLiteral("locations"));
  shoot<ResetWindow>(runtime, QStringLiteral("rusure"));
  shoot<HelpWindow>(runtime, QStringLiteral("helpsf"));
  shoot<ExitWindow>(runtime, QStringLiteral("quesexit"));
  shoot<PasswordWindow>(runtime, QStringLiteral("vaskpass"));
  shoot<ButtonBar>(runtime, QStringLiteral("buttonbar"));
  shoot<AboutWindow>(runtime, QStringLiteral("aboutwex"));
  shoot<ShortTimeExitWindow>(runtime, QStringLiteral("quesexit2"));
  shoot<ButtonBarQuestion>(runtime, QStringLiteral("buttques"));
  return 0;
}
