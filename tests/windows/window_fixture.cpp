#include "tests/windows/window_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/values/value_document.h"
#include "platform/files/value_files.h"
#include "platform/forms/form_timer.h"
#include "windows/cost/options_window.h"
#include "windows/main/forms.h"
#include "windows/main/main_window.h"

namespace tempodial {

WindowTest::WindowTest() {
  // The settings file too lives in this run's own folder.
  qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
  runtime = std::make_unique<Runtime>(services, Places(home.path() + QStringLiteral("/tempodial")));
  registerForms(*runtime);
  QDir().mkpath(runtime->places().folder(Place::Data));
}

WindowTest::~WindowTest() { runtime.reset(); }

MainWindow& WindowTest::startMain() { return runtime->form<MainWindow>(); }
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
