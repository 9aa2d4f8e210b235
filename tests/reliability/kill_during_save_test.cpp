// A save killed at a random moment must leave every file either the old or
// the new complete value document: never empty, never truncated.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <random>
#include <vector>

#include "core/values/value_document.h"
#include "platform/files/value_files.h"

namespace tempodial {
namespace {

struct SavedFile {
  const char* name;
  BoxFont font;
};

// The files of the TimeLog, the CostLog and the tariffs, each in its font.
const std::vector<SavedFile> kFiles = {
    {"seconds.tme", kClockBoxFont},        {"minutes.tme", kClockBoxFont},
    {"hours.tme", kClockBoxFont},          {"cost.tme", kCostBoxFont},
    {"weekday.cst", kOptionsArialBoxFont}, {"custom1.cst", kSansSerifBoxFont},
};

QByteArray document(const QString& text, BoxFont font) {
  return QByteArray::fromStdString(writeValueDocument(text.toStdString(), font));
}

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The child saves the old and the new value over and over until it is killed.
[[noreturn]] void saveForever(const QString& folder, const QString& oldText,
                              const QString& newText) {
  for (unsigned round = 0;; ++round) {
    const QString& text = (round % 2 == 0) ? newText : oldText;
    for (const auto& file : kFiles) {
      if (!saveValue(folder + "/" + file.name, text, file.font).ok()) _exit(3);
    }
  }
}

TEST(KillDuringSave, EveryFileIsTheOldOrTheNewWholeDocument) {
  QTemporaryDir dir;
  const QString oldText = QStringLiteral("12");
  // A longer value so that a torn write would show as a short file.
  const QString newText = QString(2000, QLatin1Char('7')) + QStringLiteral("£ end");
  for (const auto& file : kFiles) {
    ASSERT_TRUE(saveValue(dir.path() + "/" + file.name, oldText, file.font).ok());
  }

  std::mt19937 random(20261207);
  std::uniform_int_distribution<int> delayMicros(0, 4000);
  const int kills = 200;
  for (int i = 0; i < kills; ++i) {
    pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) saveForever(dir.path(), oldText, newText);
    usleep(static_cast<useconds_t>(delayMicros(random)));
    ASSERT_EQ(kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child stopped by itself, status " << status;

    for (const auto& file : kFiles) {
      const QByteArray bytes = contents(dir.path() + "/" + file.name);
      const bool whole =
          bytes == document(oldText, file.font) || bytes == document(newText, file.font);
      ASSERT_TRUE(whole) << file.name << " after kill " << i << " holds " << bytes.size()
                         << " bytes";
    }
  }
}

}  // namespace
}  // namespace tempodial
