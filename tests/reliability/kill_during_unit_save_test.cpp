// A TimeLog save killed at any point: the next start finds the three files
// all old or all new, and none of the save's temporaries.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <random>
#include <vector>

#include "core/files/save_unit.h"
#include "core/values/value_document.h"
#include "platform/files/places.h"
#include "platform/files/save_unit.h"
#include "platform/files/value_files.h"

namespace tempodial {
namespace {

const std::string_view kTimeLog[] = {files::kSeconds, files::kMinutes, files::kHours};

class UnitKill : public testing::Test {
 protected:
  QString at(std::string_view name) const { return places.path(Place::Data, name); }
  std::vector<ValueToSave> values(const QString& text) const {
    std::vector<ValueToSave> out;
    for (std::string_view name : kTimeLog) out.push_back({at(name), text, kClockBoxFont});
    return out;
  }
  UnitOutcome save(const QString& text, const UnitStepHook& hook = {}) const {
    std::vector<UnitFile> files;
    for (const ValueToSave& value : values(text)) {
      files.push_back({value.path, QByteArray::fromStdString(
                                       writeValueDocument(value.text.toStdString(), value.font))});
    }
    return saveUnit(at(kUnitRecordName), files, hook);
  }
  // "old", "new", or what the three files hold when they disagree.
  QString state() const {
    QStringList texts;
    for (std::string_view name : kTimeLog) {
      auto text = loadValue(at(name));
      texts << (text.ok() ? text.value() : QStringLiteral("<unreadable>"));
    }
    if (texts == QStringList(3, oldText)) return QStringLiteral("old");
    if (texts == QStringList(3, newText)) return QStringLiteral("new");
    return texts.join(QLatin1Char('|')).left(60);
  }
  QStringList folderContents() const {
    QStringList names =
        QDir(places.folder(Place::Data)).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.sort();
    return names;
  }
  // Runs `body` in a child and expects it to die by SIGKILL.
  template <typename Body>
  void inKilledChild(Body body) {
    pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
      body();
      _exit(3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;
  }

  QTemporaryDir dir;
  Places places{dir.path() + QStringLiteral("/tempodial")};
  const QString oldText = QStringLiteral("17");
  const QString newText = QString(3000, QLatin1Char('4'));
  const QStringList theThreeFiles = {"hours.tme", "minutes.tme", "seconds.tme"};
};

struct StopCase {
  const char* name;
  UnitStep step;
  int index;
  const char* expected;
};

class KillAtStep : public UnitKill, public testing::WithParamInterface<StopCase> {};

TEST_P(KillAtStep, NextStartFindsAllOldOrAllNewAndNoTemporaries) {
  QDir().mkpath(places.folder(Place::Data));
  ASSERT_TRUE(save(oldText).ok);
  inKilledChild([&] {
    save(newText, [&](UnitStep step, int index) {
      if (step == GetParam().step && index == GetParam().index) raise(SIGKILL);
    });
  });
  recoverInterruptedSaves(places);
  EXPECT_EQ(state(), GetParam().expected);
  EXPECT_EQ(folderContents(), theThreeFiles);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, KillAtStep,
    testing::Values(StopCase{"BeforeTheRecord", UnitStep::Staged, 0, "old"},
                    StopCase{"BeforeAnyRename", UnitStep::Recorded, 0, "new"},
                    StopCase{"BetweenSecondsAndMinutes", UnitStep::Renamed, 0, "new"},
                    StopCase{"BetweenMinutesAndHours", UnitStep::Renamed, 1, "new"},
                    StopCase{"AfterHoursBeforeTheRecordGoes", UnitStep::Renamed, 2, "new"},
                    StopCase{"AtTheEnd", UnitStep::Finished, 0, "new"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UnitKill, KilledAtRandomMomentsTheThreeFilesNeverDisagree) {
  QDir().mkpath(places.folder(Place::Data));
  ASSERT_TRUE(save(oldText).ok);
  // Kills spread over a few saves, however long a save takes on this disk.
  QElapsedTimer clock;
  clock.start();
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(save(oldText).ok);
  const int saveMicros = static_cast<int>(clock.nsecsElapsed() / 4000);
  std::mt19937 random(20261207);
  std::uniform_int_distribution<int> delayMicros(0, 3 * saveMicros + 1000);
  int sawOld = 0;
  int sawNew = 0;
  for (int i = 0; i < 60; ++i) {
    pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
      for (unsigned round = 0;; ++round) {
        if (!save(round % 2 == 0 ? newText : oldText).ok) _exit(3);
      }
    }
    usleep(static_cast<useconds_t>(delayMicros(random)));
    ASSERT_EQ(kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child stopped by itself, status " << status;

    recoverInterruptedSaves(places);
    const QString found = state();
    ASSERT_TRUE(found == "old" || found == "new")
        << "after kill " << i << ": " << found.toStdString();
    (found == "old" ? sawOld : sawNew) += 1;
    ASSERT_EQ(folderContents(), theThreeFiles) << "after kill " << i;
  }
  EXPECT_GT(sawOld, 0);
  EXPECT_GT(sawNew, 0);
}

}  // namespace
}  // namespace tempodial
