// logind's sleep signal, sent by python3-dbusmock's logind on a private
// system bus, reaches the sleep watch, which tells how long the computer
// slept.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include "platform/desktop/sleep_watch.h"

namespace tempodial {
namespace {

// Debian's own Python, which has python3-dbusmock, whatever else is on PATH.
const QString kPython = QFile::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";

TEST(SleepWatch, HearsLogindOnTheSystemBus) {
  if (QStandardPaths::findExecutable("dbus-daemon").isEmpty()) {
    GTEST_SKIP() << "no dbus-daemon";
  }
  int argc = 0;
  QCoreApplication app(argc, nullptr);
  QProcess bus;
  bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
  ASSERT_TRUE(bus.waitForReadyRead(5000));
  const QByteArray address = bus.readLine().trimmed();
  qputenv("DBUS_SYSTEM_BUS_ADDRESS", address);
  QProcess logind;
  logind.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
  logind.start(kPython, {"-m", "dbusmock", "--system", "--template", "logind"});
  ASSERT_TRUE(logind.waitForStarted());
  QDBusConnectionInterface* names = QDBusConnection::systemBus().interface();
  ASSERT_NE(names, nullptr);
  for (int i = 0; i < 100 && !names->isServiceRegistered("org.freedesktop.login1"); ++i) {
    QTest::qWait(100);
  }
  QDBusInterface mock("org.freedesktop.login1", "/org/freedesktop/login1",
                      "org.freedesktop.DBus.Mock", QDBusConnection::systemBus());
  ASSERT_TRUE(mock.isValid()) << "the mock logind did not come up";

  SleepWatch watch;
  qint64 boot = 1000;
  qint64 run = 1000;
  watch.bootClockMs = [&boot] { return boot; };
  watch.runClockMs = [&run] { return run; };
  QSignalSpy woke(&watch, &SleepWatch::woke);
  auto emitSleep = [&mock](bool sleeping) {
    QDBusMessage reply = mock.call("EmitSignal", "org.freedesktop.login1.Manager",
                                   "PrepareForSleep", "b", QVariantList{sleeping});
    ASSERT_NE(reply.type(), QDBusMessage::ErrorMessage) << reply.errorMessage().toStdString();
  };
  emitSleep(true);
  QTest::qWait(300);
  EXPECT_EQ(woke.count(), 0) << "nothing to tell before waking";
  boot += 90'000;
  run += 250;
  emitSleep(false);
  ASSERT_TRUE(woke.wait(5000));
  EXPECT_EQ(woke.first().first().toLongLong(), 89'750);

  logind.kill();
  logind.waitForFinished();
  bus.kill();
  bus.waitForFinished();
}

}  // namespace
}  // namespace tempodial
