// A program run for one test: a fresh data folder, the scripted services and
// the twelve windows, driven through their own controls.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string_view>

#include "core/files/file_places.h"
#include "platform/clock/clock_model.h"
#include "platform/forms/form_timer.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/scripted_services.h"
#include "platform/session/clock_session.h"

namespace tempodial {

class MainWindow;
class OptionsWindow;

class WindowTest : public testing::Test {
 protected:
  WindowTest();
  ~WindowTest() override;

  // Ends this run of the program and makes a new one over the same files:
  // a fresh runtime, clock session and windows.
  void remake();

  // Loads the main window as the start-up does (its load step runs).
  MainWindow& startMain();
  MainWindow& main();
  OptionsWindow& options();

  // The kernel's counters of the one interface with a default route, as the
  // program reads them in this run's own folder (never the machine's).
  void setTrafficCounters(qint64 received, qint64 sent) const;

  // Runs the clock's tick `count` times without waiting, running or not.
  void tick(int count);
  // Lets the Options window's rate selection run once, if anything has armed
  // it (the data directory's changes are delivered first).
  void selectRateTick();

  QString path(Place place, std::string_view name) const;
  bool exists(Place place, std::string_view name) const;
  // Writes a value document holding `text` (clock box font) to the file.
  void writeValue(Place place, std::string_view name, const QString& text) const;
  // Writes raw bytes to the file, creating its folder.
  void writeRaw(Place place, std::string_view name, const QByteArray& bytes) const;
  QByteArray readRaw(Place place, std::string_view name) const;
  // The text of the value document in the file, or a marker when unreadable.
  QString readText(Place place, std::string_view name) const;

  // Puts a plain file where the place's folder should be, so writes fail.
  void blockPlace(Place place) const;

  QTemporaryDir home;
  ScriptedServices services;
  std::unique_ptr<Runtime> runtime;
  // The clock session the windows show: tests drive the clock through it,
  // and through the main window's controls only where the binding is tested.
  std::unique_ptr<ClockSession> session;
};

}  // namespace tempodial
