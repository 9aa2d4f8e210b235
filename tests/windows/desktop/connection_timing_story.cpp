// Automatic timing inside the program, against python3-dbusmock's
// NetworkManager on a private system bus: the clock starts and stops as the
// connection goes up and down, the status panel says why, and a press by
// hand holds until the connection changes again. Its own program, because a
// process keeps the first system bus it connects to.
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QProcess>
#include <QRadioButton>
#include <QSettings>
#include <QTest>

#include "platform/files/settings_file.h"
#include "platform/forms/controls.h"
#include "platform/forms/form_timer.h"
#include "platform/session/automatic_timing.h"
#include "tests/windows/window_fixture.h"
#include "windows/desktop/automatic_timing_window.h"
#include "windows/desktop/desktop_extras.h"
#include "windows/main/main_window.h"

namespace tempodial {
namespace {

const QString kManager = QStringLiteral("org.freedesktop.NetworkManager");
const QString kManagerPath = QStringLiteral("/org/freedesktop/NetworkManager");
constexpr uint kUp = 70;  // NM_STATE_CONNECTED_GLOBAL
constexpr uint kDown = 20;
constexpr uint kMetered = 1;
constexpr uint kNotMetered = 2;

class ConnectionTimingStory : public WindowTest {
 protected:
  void SetUp() override {
    daemon_.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--session"), QStringLiteral("--nofork"),
                   QStringLiteral("--print-address=1")});
    ASSERT_TRUE(daemon_.waitForReadyRead(10000));
    const QByteArray address = daemon_.readLine().trimmed();
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", address);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), QString::fromLatin1(address));
    mock_.setProcessEnvironment(environment);
    mock_.start(QStringLiteral("/usr/bin/python3"),
                {QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--system"),
                 QStringLiteral("--template"), QStringLiteral("networkmanager")});
    ASSERT_TRUE(QTest::qWaitFor(
        [] {
          return QDBusConnection::systemBus().interface()->isServiceRegistered(kManager).value();
        },
        10000));
    mockCall("AddProperty",
             {kManager, QStringLiteral("Metered"), QVariant::fromValue(QDBusVariant(kNotMetered))});
    connection(kDown, kNotMetered);
  }

  void TearDown() override {
    for (QProcess* process : {&mock_, &daemon_}) {
      process->terminate();
      process->waitForFinished(5000);
    }
  }

  void mockCall(const char* method, const QVariantList& arguments) {
    QDBusInterface mock(kManager, kManagerPath, QStringLiteral("org.freedesktop.DBus.Mock"),
                        QDBusConnection::systemBus());
    const QDBusMessage reply = mock.callWithArgumentList(QDBus::Block, method, arguments);
    ASSERT_NE(reply.type(), QDBusMessage::ErrorMessage) << reply.errorMessage().toStdString();
  }

  // NetworkManager's state and metered value change, metered first.
  void connection(uint state, uint metered) {
    mockCall("SetProperty", {kManagerPath, kManager, QStringLiteral("Metered"),
                             QVariant::fromValue(QDBusVariant(metered))});
    mockCall("SetGlobalConnectionState", {state});
  }

  // True iff within a second the clock runs (or not) and the status panel
  // says `status`.
  bool settles(MainWindow& m, bool running, const QString& status) {
    return QTest::qWaitFor(
        [&] { return session->tick().enabled() == running && m.SSPanel1->caption() == status; },
        1000);
  }

  QProcess daemon_;
  QProcess mock_;
};

TEST_F(ConnectionTimingStory, TheClockFollowsTheConnectionAndSaysWhy) {
  const QString touched = QStringLiteral("The timer has been touched");
  const QString up = QStringLiteral("Connection is up: the timer has been started");
  const QString down = QStringLiteral("Connection is down: the timer has been stopped");
  const QString notMetered =
      QStringLiteral("Connection is not metered: the timer has been stopped");
  MainWindow& m = startMain();
  openAutomaticTiming(*runtime);
  auto& window = runtime->form<AutomaticTimingWindow>();
  EXPECT_TRUE(window.Option1->isChecked());
  EXPECT_TRUE(window.Option3->isEnabled());
  EXPECT_EQ(window.Label2->caption(), "The connection is down.");

  // Only by hand: the connection moves nothing.
  connection(kUp, kNotMetered);
  EXPECT_FALSE(settles(m, true, up));
  EXPECT_EQ(window.Label2->caption(), "The connection is up and not metered.");

  // The connection as it is applies at the choice.
  window.Option2->click();
  EXPECT_TRUE(settles(m, true, up)) << m.SSPanel1->caption().toStdString();
  EXPECT_EQ(
      QSettings(settingsPath(), QSettings::IniFormat).value(QStringLiteral("timing/automatic")),
      "while-online");
  // The same choice made again, the clock already running: it runs on.
  window.Option2->click();
  EXPECT_TRUE(settles(m, true, up)) << m.SSPanel1->caption().toStdString();
  window.Option3->click();
  EXPECT_TRUE(settles(m, false, notMetered)) << m.SSPanel1->caption().toStdString();
  connection(kUp, kMetered);
  EXPECT_TRUE(settles(m, true, up)) << m.SSPanel1->caption().toStdString();
  EXPECT_EQ(window.Label2->caption(), "The connection is up and metered.");

  // A stop by hand holds while the connection stays as it is, even when it
  // goes down; the next change up starts the clock again.
  m.startStop();
  EXPECT_EQ(m.SSPanel1->caption(), touched);
  connection(kDown, kMetered);
  EXPECT_FALSE(settles(m, false, down));
  EXPECT_EQ(m.SSPanel1->caption(), touched);
  connection(kUp, kMetered);
  EXPECT_TRUE(settles(m, true, up)) << m.SSPanel1->caption().toStdString();
  connection(kDown, kMetered);
  EXPECT_TRUE(settles(m, false, down)) << m.SSPanel1->caption().toStdString();

  // Back to by hand.
  window.Option1->click();
  connection(kUp, kMetered);
  EXPECT_FALSE(settles(m, true, up));
  EXPECT_FALSE(session->tick().enabled());
  EXPECT_TRUE(services.messages.empty());
}

}  // namespace
}  // namespace tempodial
