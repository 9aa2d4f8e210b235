// The status icon's text and the automatic timing inside the program, with
// no NetworkManager to be found (the real NetworkManager is driven in
// tests/e2e/desktop_e2e.py).
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QRadioButton>
#include <QSettings>

#include "core/history/period.h"
#include "platform/clock/clock_model.h"
#include "platform/clock/plan_meter.h"
#include "platform/desktop/autostart.h"
#include "platform/files/settings_file.h"
#include "platform/forms/controls.h"
#include "platform/forms/form_timer.h"
#include "platform/journal/session_journal.h"
#include "platform/plans/plan_store.h"
#include "platform/session/automatic_timing.h"
#include "platform/session/data_allowance.h"
#include "tests/windows/window_fixture.h"
#include "windows/desktop/automatic_timing_window.h"
#include "windows/desktop/status_area.h"
#include "windows/main/main_window.h"

namespace tempodial {
namespace {

class DesktopExtrasTest : public WindowTest {
 protected:
  DesktopExtrasTest() { qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/bus"); }

  static QString storedChoice() {
    return QSettings(settingsPath(), QSettings::IniFormat)
        .value(QStringLiteral("timing/automatic"))
        .toString();
  }
};

TEST_F(DesktopExtrasTest, ToolTipFollowsTheClockTheBytesAndTheCostAsShown) {
  MainWindow& m = startMain();
  setTrafficCounters(5'000'000'000, 1000);
  m.startStop();
  setTrafficCounters(5'030'000'000, 4'201'000);
  // The bytes are read with the journal's update, as the clock counts.
  services.clockMs += 3725'000;
  session->tick().elapse();
  EXPECT_EQ(statusToolTip(m.clock()), "Running 1:2:5, 34.2 MB");
  m.Check1->setValue(1);
  const QString cost = session->clock().cost();
  EXPECT_NE(cost, "0");
  EXPECT_EQ(statusToolTip(m.clock()), "Running 1:2:5, 34.2 MB, cost £ " + cost);
  setTrafficCounters(5'031'000'000, 4'201'000);
  m.startStop();
  EXPECT_EQ(statusToolTip(m.clock()), "Stopped 1:2:5, 35.2 MB, cost £ " + cost);
  m.Check1->setValue(0);
  EXPECT_EQ(statusToolTip(m.clock()), "Stopped 1:2:5, 35.2 MB");
}

TEST_F(DesktopExtrasTest, ToolTipTellsWhatIsLeftOfThePlansAllowanceUntilTheBillingMonthEnds) {
  const QString plans = plansFolder();
  QDir().mkpath(plans);
  for (const auto& [name, text] : {std::pair{"Mobile", "[plan]\nrate=0\nallowance_mb=20000\n"},
                                   {"Fixed", "[plan]\nrate=0\n"}}) {
    QFile file(plans + "/" + name + ".ini");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
  ASSERT_TRUE(setPlanInUse(QStringLiteral("Mobile")).ok());
  ASSERT_TRUE(saveBillingDay(15).ok());
  const QDateTime now = QDateTime::currentDateTime();
  const CivilDate today{now.date().year(), now.date().month(), now.date().day()};
  // 7.75 GB this billing month, and 5 GB in a month long gone.
  SessionJournal& journal = runtime->journal();
  ASSERT_TRUE(journal.open().ok());
  for (const auto& [start, bytes] :
       {std::pair{now.addSecs(-3600), 7'750'000'000}, {now.addDays(-45), 5'000'000'000}}) {
    SessionSnapshot run{"0", "0", "0", "0", "Mobile", 0, "£"};
    auto row = journal.begin(run, start.toUTC(), start.offsetFromUtc());
    ASSERT_TRUE(row.ok());
    run.counted = 60;
    run.received = bytes;
    ASSERT_TRUE(
        journal.finish(row.value(), run, start.toUTC().addSecs(60), SessionEnd::Stopped).ok());
  }
  const std::string until15 =
      " left until " + shortDateText(billingMonthOf(today, 15).next().first);
  const std::string until1 = " left until " + shortDateText(calendarMonthOf(today).next().first);

  MainWindow& m = startMain();
  const auto tip = [&m] { return statusToolTip(m.clock()).toStdString(); };
  const std::string rate = ", Standard 0p/min; ";
  QCoreApplication::processEvents();  // what the kept runs used, read at the start
  EXPECT_EQ(tip(), "Stopped 0:0:0" + rate + "12.3 of 20 GB" + until15);
  setTrafficCounters(1000, 1000);
  m.startStop();
  setTrafficCounters(1000 + 34'200'000, 1000);
  services.clockMs += 3725'000;
  session->tick().elapse();  // the run's bytes as they are read
  EXPECT_EQ(tip(), "Running 1:2:5, 34.2 MB" + rate + "12.2 of 20 GB" + until15);
  setTrafficCounters(1000 + 250'000'000, 1000);
  m.startStop();  // the run is among the kept ones now
  EXPECT_EQ(tip(), "Stopped 1:2:5, 250.0 MB" + rate + "12 of 20 GB" + until15);
  ASSERT_TRUE(saveBillingDay(1).ok());
  refreshAllowance(*runtime, session->clock());
  EXPECT_EQ(tip(), "Stopped 1:2:5, 250.0 MB" + rate + "12 of 20 GB" + until1);
  // Another plan in use, its rate shown alike: the allowance goes.
  ASSERT_TRUE(setPlanInUse(QStringLiteral("Fixed")).ok());
  m.clock().planMeter().reload();
  EXPECT_EQ(tip(), "Stopped 1:2:5, 250.0 MB, Standard 0p/min");
}

TEST_F(DesktopExtrasTest, WithoutNetworkManagerTheChoiceSaysSoAndStaysByHand) {
  QSettings(settingsPath(), QSettings::IniFormat)
      .setValue(QStringLiteral("timing/automatic"), QStringLiteral("while-online"));
  MainWindow& m = startMain();
  m.findChild<QAction*>(QStringLiteral("automatic"))->trigger();
  auto& window = runtime->form<AutomaticTimingWindow>();
  EXPECT_TRUE(window.Option1->isChecked());
  EXPECT_FALSE(window.Option2->isEnabled());
  EXPECT_FALSE(window.Option3->isEnabled());
  EXPECT_TRUE(window.Label2->caption().contains("NetworkManager"))
      << window.Label2->caption().toStdString();
  auto& timing = *session->clock().findChild<AutomaticTiming*>();
  EXPECT_EQ(timing.choose(TimingChoice::WhileOnlineMetered), TimingChoice::ByHand);
  EXPECT_EQ(storedChoice(), "by-hand");
  EXPECT_FALSE(session->tick().enabled());
}

TEST_F(DesktopExtrasTest, AChoiceThatCannotBeSavedIsReportedAndNotTaken) {
  startMain();
  // A plain file where the settings folder should be.
  QFile blocker(qEnvironmentVariable("XDG_CONFIG_HOME") + "/tempodial");
  ASSERT_TRUE(QDir().mkpath(qEnvironmentVariable("XDG_CONFIG_HOME")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  auto& timing = *session->clock().findChild<AutomaticTiming*>();
  EXPECT_EQ(timing.choose(TimingChoice::ByHand), TimingChoice::ByHand);
  ASSERT_EQ(services.messages.size(), 1);
  EXPECT_TRUE(services.messages[0].contains("tempodial.conf"))
      << services.messages[0].toStdString();
}

TEST_F(DesktopExtrasTest, StartAtLoginWritesAndRemovesTheAutostartEntry) {
  MainWindow& m = startMain();
  auto* item = m.findChild<QAction*>(QStringLiteral("login"));
  ASSERT_NE(item, nullptr);
  const QString entry = qEnvironmentVariable("XDG_CONFIG_HOME") + "/autostart/tempodial.desktop";
  item->trigger();
  EXPECT_TRUE(item->isChecked());
  QFile written(entry);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  const QByteArray text = written.readAll();
  EXPECT_TRUE(text.startsWith("[Desktop Entry]\nType=Application\nName=Tempodial\n"))
      << text.data();
  EXPECT_TRUE(text.contains("\nX-GNOME-Autostart-enabled=true\n"));
  EXPECT_TRUE(
      text.contains("\nExec=" + QCoreApplication::applicationFilePath().toUtf8() + " --login\n"));
  EXPECT_EQ(QDir(QFileInfo(entry).path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{"tempodial.desktop"});  // nothing left beside it
  item->trigger();
  EXPECT_FALSE(item->isChecked());
  EXPECT_FALSE(QFile::exists(entry));
  // The desktop's own switch is followed when the menu opens.
  auto* view = m.findChild<QMenu*>(QStringLiteral("view"));
  ASSERT_TRUE(QDir().mkpath(QFileInfo(entry).path()));
  for (const auto& [content, on] :
       {std::pair{"X-GNOME-Autostart-enabled=true\n", true}, std::pair{"Hidden=true\n", false},
        std::pair{"X-GNOME-Autostart-enabled=false\n", false}}) {
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("[Desktop Entry]\n") + content);
    file.close();
    Q_EMIT view->aboutToShow();
    EXPECT_EQ(item->isChecked(), on) << content;
  }
  // A folder where the entry should be: reported, and left unchecked.
  ASSERT_TRUE(QFile::remove(entry));
  ASSERT_TRUE(QDir().mkpath(entry));
  item->trigger();
  EXPECT_FALSE(item->isChecked());
  ASSERT_EQ(services.messages.size(), 1);
  EXPECT_TRUE(services.messages[0].startsWith("Could not write " + entry + ": "))
      << services.messages[0].toStdString();
}

TEST(AutostartEntry, ExecNamesTheProgramSoThatTheDesktopStartsExactlyIt) {
  const QByteArray plain = autostartEntry(QStringLiteral("/opt/tempo dial/bin/tempodial"));
  EXPECT_TRUE(plain.contains("\nExec=\"/opt/tempo dial/bin/tempodial\" --login\n")) << plain.data();
  const QByteArray odd = autostartEntry(QStringLiteral("/opt/a$b\"c/tempodial"));
  EXPECT_TRUE(odd.contains(R"(
Exec="/opt/a\\$b\\"c/tempodial" --login
)")) << odd.data();
  // A `%` (written `%%`): the shell starts the program, so that desktops that
  // look for the program before reading `%%` (GLib) load the entry.
  for (auto [path, exec] : {std::pair{"/opt/50%/tempodial", "/opt/50%%/tempodial"},
                            {"/opt/a b%c/tempodial", R"("/opt/a b%%c/tempodial")"}}) {
    const QByteArray entry = autostartEntry(QString::fromUtf8(path));
    EXPECT_TRUE(entry.contains(QByteArray(R"(
Exec=sh -c "exec \\"\\$0\\" --login" )") +
                               exec + "\n"))
        << entry.data();
  }
}

}  // namespace
}  // namespace tempodial
