// Renders each of the twelve windows (the main window with the cost area
// hidden and shown, the Options window on each page), the History window and
// the Tariff plans window to PNG files for review and for the user guide:  screenshots <folder>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QPainter>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>

#include "platform/clock/plan_meter.h"
#include "platform/journal/session_journal.h"
#include "platform/plans/plan_store.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/scripted_services.h"
#include "windows/cost/options_window.h"
#include "windows/help/about_window.h"
#include "windows/help/help_window.h"
#include "windows/history/history_chart.h"
#include "windows/history/history_limits.h"
#include "windows/history/history_window.h"
#include "windows/history/session_model.h"
#include "platform/session/clock_session.h"
#include "windows/main/forms.h"
#include "windows/main/main_window.h"
#include "windows/main/password_window.h"
#include "windows/plans/plans_window.h"
#include "windows/programs/button_bar.h"
#include "windows/programs/button_bar_question.h"
#include "windows/programs/locations_window.h"
#include "windows/start_and_exit/exit_window.h"
#include "windows/start_and_exit/short_time_exit_window.h"
#include "windows/start_and_exit/splash_window.h"
#include "windows/totals/reset_window.h"

namespace {

QString folder;

void save(QWidget& window, const QString& name) {
  window.show();
  QApplication::processEvents();
  const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
  if (!window.grab().save(path)) std::fprintf(stderr, "could not write %s\n", qPrintable(path));
  std::printf("%s\n", qPrintable(path));
}

// The window drawn at twice the scale, as on a high-density screen.
void saveDouble(QWidget& window, const QString& name) {
  QPixmap pixmap(window.size() * 2);
  pixmap.setDevicePixelRatio(2);
  pixmap.fill(window.palette().color(QPalette::Window));
  window.render(&pixmap);
  const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
  if (!pixmap.save(path)) std::fprintf(stderr, "could not write %s\n", qPrintable(path));
  std::printf("%s\n", qPrintable(path));
}

// A few months of sessions in the journal: most days of this month in pounds,
// some in francs, one across midnight, and earlier months for the year view.
void writeSampleHistory(tempodial::SessionJournal& journal) {
  using namespace tempodial;
  const QDate today = QDate::currentDate();
  const QDate first(today.year(), today.month(), 1);
  int serial = 0;
  auto add = [&](const QDate& day, int startMinute, int minutes, double rate,
                 const QString& currency, const QString& tariff, SessionEnd end) {
    const QDateTime start(day, QTime(0, 0).addSecs(startMinute * 60));
    SessionSnapshot now;
    now.hours = now.minutes = now.seconds = QStringLiteral("0");
    now.cost = QStringLiteral("0");
    now.tariff = tariff;
    now.rate = rate;
    now.currency = currency;
    auto row = journal.begin(now, start.toUTC(), start.offsetFromUtc());
    now.counted = minutes * 60;
    now.cost = QString::number(minutes * rate / 100.0, 'f', 3);
    journal.finish(row.value(), now, start.addSecs(minutes * 60).toUTC(), end);
    ++serial;
  };
  for (int day = 0; day < first.daysInMonth(); ++day) {
    if (day % 4 == 3) continue;
    const QDate date = first.addDays(day);
    add(date, 9 * 60 + day * 7 % 50, 20 + day * 37 % 90, 1.5, QStringLiteral("£"),
        QStringLiteral("Daytime"), SessionEnd::Stopped);
    if (day % 3 == 0) {
      add(date, 19 * 60, 30 + day * 11 % 120, 0.8, QStringLiteral("£"), QStringLiteral("Evening"),
          SessionEnd::Exit);
    }
    if (day % 5 == 1) {
      add(date, 13 * 60, 15 + day % 40, 6, QStringLiteral("Fr"), QStringLiteral("Abroad"),
          SessionEnd::Interrupted);
    }
  }
  add(first.addDays(9), 23 * 60 + 30, 95, 0.8, QStringLiteral("£"), QStringLiteral("Night"),
      SessionEnd::Stopped);
  for (int back = 1; back < today.month(); ++back) {
    const QDate month = first.addMonths(-back);
    for (int day = 0; day < 20; day += 2) {
      add(month.addDays(day), 10 * 60, 30 + (day * back * 13) % 150, 1.5, QStringLiteral("£"),
          QStringLiteral("Daytime"), SessionEnd::Stopped);
    }
  }
}

// A dark palette such as a desktop's dark theme gives.
QPalette darkPalette() {
  QPalette dark;
  dark.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
  dark.setColor(QPalette::WindowText, QColor(0xe8, 0xe8, 0xe8));
  dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
  dark.setColor(QPalette::AlternateBase, QColor(0x33, 0x33, 0x33));
  dark.setColor(QPalette::Text, QColor(0xe8, 0xe8, 0xe8));
  dark.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3a));
  dark.setColor(QPalette::ButtonText, QColor(0xe8, 0xe8, 0xe8));
  dark.setColor(QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
  dark.setColor(QPalette::HighlightedText, QColor(0x10, 0x10, 0x10));
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    dark.setColor(QPalette::Disabled, role, QColor(0x80, 0x80, 0x80));
  }
  return dark;
}

void shootHistory(tempodial::Runtime& runtime) {
  using namespace tempodial;
  QDir().mkpath(runtime.places().root());
  if (!runtime.journal().open().ok()) std::fprintf(stderr, "could not open the journal\n");
  writeSampleHistory(runtime.journal());
  auto& history = runtime.form<HistoryWindow>();
  history.show();
  save(history, QStringLiteral("history-month"));
  saveDouble(history, QStringLiteral("history-month@2x"));
  // The tenth, with its session across midnight.
  for (int row = 0; row < history.days->rowCount(); ++row) {
    if (history.days->item(row, 0)->data().toDate().day() == 10) {
      history.daysTable->setCurrentIndex(history.days->index(row, 0));
    }
  }
  history.sessionsTable->setCurrentIndex(history.sessions->index(1, 0));
  save(history, QStringLiteral("history-day"));
  history.tabs->setCurrentIndex(1);
  save(history, QStringLiteral("history-year"));
  history.tabs->setCurrentIndex(2);
  history.limits->dayTimeOn->setChecked(true);
  history.limits->dayHours->setValue(3);
  history.limits->monthCostOn->setChecked(true);
  history.limits->monthCost->setValue(40);
  save(history, QStringLiteral("history-limits"));
  history.tabs->setCurrentIndex(0);
  const QPalette light = QApplication::palette();
  QApplication::setPalette(darkPalette());
  save(history, QStringLiteral("history-month-dark"));
  QApplication::setPalette(light);
  runtime.unload(QString::fromLatin1(HistoryWindow::kName));
}

// The sample plan of the user guide, in use, in the Tariff plans window.
void shootPlans(tempodial::Runtime& runtime) {
  using namespace tempodial;
  QDir().mkpath(plansFolder());
  QFile file(plansFolder() + QStringLiteral("/Evening and weekend.ini"));
  if (file.open(QIODevice::WriteOnly)) {
    file.write(
        "[plan]\nname=Evening and weekend\ncurrency=\xC2\xA3\nconnection=5\nminimum=10\n"
        "step=60\nrate=1.4\n[rule1]\ndays=mon-fri\nfrom=18:00\nto=08:00\nrate=0.5\n"
        "[rule2]\ndays=sat,sun\nrate=0.5\n[rule3]\ndates=12-25,01-01\nrate=0.5\n");
    file.close();
  }
  setPlanInUse(QStringLiteral("Evening and weekend"));
  runtime.form<MainWindow>().planMeter().reload();
  save(runtime.form<MainWindow>(), QStringLiteral("main-plan-rate"));
  auto& plans = runtime.form<PlansWindow>();
  plans.resize(plans.sizeHint().expandedTo(plans.size()));
  save(plans, QStringLiteral("tariff-plans"));
  runtime.unload(QString::fromLatin1(PlansWindow::kName));
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
  // The limits shown are kept in a settings file of its own.
  qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
  ScriptedServices services;
  Runtime runtime(services, Places(home.path() + QStringLiteral("/tempodial")));
  ClockSession session(runtime);
  registerForms(runtime, session);

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
  shootHistory(runtime);
  shootPlans(runtime);
  return 0;
}
