#include "tests/windows/window_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/values/value_document.h"
#include "platform/files/value_files.h"
#include "platform/forms/form_timer.h"
#include "platform/session/session_recorder.h"
#include "windows/cost/options_window.h"
#include "windows/main/forms.h"
#include "windows/main/main_window.h"

namespace tempodial {

WindowTest::WindowTest() {
  // The settings file too lives in this run's own folder.
  qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
  remake();
  QDir().mkpath(runtime->places().folder(Place::Data));
}

void WindowTest::remake() {
  runtime.reset();
  session.reset();
  runtime = std::make_unique<Runtime>(services, Places(home.path() + QStringLiteral("/tempodial")));
  session = std::make_unique<ClockSession>(*runtime);
  registerForms(*runtime, *session);
}

WindowTest::~WindowTest() {
  // The windows go before the session they show.
  runtime.reset();
  session.reset();
}

MainWindow& WindowTest::startMain() {
  setTrafficCounters(0, 0);
  MainWindow& main = runtime->form<MainWindow>();
  session->recorder().setCountersRoot(home.path() + QStringLiteral("/counters"));
  return main;
}

void WindowTest::setTrafficCounters(qint64 received, qint64 sent) const {
  const QString root = home.path() + QStringLiteral("/counters");
  QDir().mkpath(root + QStringLiteral("/sys/class/net/ppp0/statistics"));
  QDir().mkpath(root + QStringLiteral("/proc/net"));
  const std::pair<const char*, QByteArray> files[] = {
      {"/sys/class/net/ppp0/statistics/rx_bytes", QByteArray::number(received)},
      {"/sys/class/net/ppp0/statistics/tx_bytes", QByteArray::number(sent)},
      {"/proc/net/route",
       "Iface\tDestination\tGateway\tFlags\tRefCnt\tUse\tMetric\tMask\n"
       "ppp0\t00000000\t00000000\t0001\t0\t0\t0\t00000000\n"}};
  for (const auto& [name, text] : files) {
    QFile file(root + QLatin1String(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
  }
}
MainWindow& WindowTest::main() { return runtime->form<MainWindow>(); }
OptionsWindow& WindowTest::options() { return runtime->form<OptionsWindow>(); }

void WindowTest::tick(int count) {
  for (int i = 0; i < count; ++i) main().tick();
}

void WindowTest::selectRateTick() {
  // What the data directory's watch has seen arms the timer first.
  QCoreApplication::processEvents();
  options().Timer1->elapse();
}

QString WindowTest::path(Place place, std::string_view name) const {
  return runtime->places().path(place, name);
}

bool WindowTest::exists(Place place, std::string_view name) const {
  return QFileInfo(path(place, name)).isFile();
}

void WindowTest::writeValue(Place place, std::string_view name, const QString& text) const {
  writeRaw(place, name,
           QByteArray::fromStdString(writeValueDocument(text.toStdString(), kClockBoxFont)));
}

void WindowTest::writeRaw(Place place, std::string_view name, const QByteArray& bytes) const {
  QDir().mkpath(runtime->places().folder(place));
  QFile file(path(place, name));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QByteArray WindowTest::readRaw(Place place, std::string_view name) const {
  QFile file(path(place, name));
  if (!file.open(QIODevice::ReadOnly)) return QByteArray();
  return file.readAll();
}

QString WindowTest::readText(Place place, std::string_view name) const {
  auto text = loadValue(path(place, name));
  return text.ok() ? text.value() : QStringLiteral("<unreadable>");
}

void WindowTest::blockPlace(Place place) const {
  const QString folder = runtime->places().folder(place);
  QDir(folder).removeRecursively();
  QDir().mkpath(QFileInfo(folder).path());
  QFile blocker(folder);
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
}

}  // namespace tempodial
