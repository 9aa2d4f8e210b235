// One copy at a time, yet a program that always starts: "already running"
// only when a live copy answers; a lock that cannot be had starts the
// program anyway with a notice of why.
#include "platform/desktop/single_instance.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace tempodial {
namespace {

// A process id that no process has: a child that has ended and been reaped.
qint64 endedProcess() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

void writeLock(const QString& root, qint64 pid) {
  QFile lock(root + "/tempodial.lock");
  ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
  // As QLockFile writes it: the process, its program's name, the machine.
  const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
  lock.write(QByteArray::number(pid) + "\n" + program.toUtf8() + "\n" +
             QSysInfo::machineHostName().toUtf8() + "\n");
}

struct Start {
  const char* name;
  // Prepares the data folder `root` (under a small file system at `small`);
  // returns false when it cannot be done here.
  std::function<bool(const QString& root, std::vector<std::unique_ptr<QObject>>& keep)> prepare;
  bool runs;
  const char* why;  // in the notice, or nullptr when there is none
};

class SingleInstanceTest : public testing::TestWithParam<Start> {
 protected:
  void TearDown() override {
    keep.clear();
    if (mounted) umount(small.toLocal8Bit().constData());
  }
  QTemporaryDir dir;
  QString small;
  bool mounted = false;
  std::vector<std::unique_ptr<QObject>> keep;
};

TEST_P(SingleInstanceTest, SaysAlreadyRunningOnlyWhenALiveCopyAnswers) {
  if (QCoreApplication::instance() == nullptr) {
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
  }
  const Start& c = GetParam();
  QString root = dir.path() + "/tempodial";
  if (QString(c.name).contains("FullDisk")) {
    small = dir.path() + "/small";
    QDir().mkpath(small);
    if (geteuid() != 0 ||
        mount("tmpfs", small.toLocal8Bit().constData(), "tmpfs", 0, "size=64k") != 0) {
      GTEST_SKIP() << "a small tmpfs cannot be mounted here";
    }
    mounted = true;
    root = small + "/tempodial";
  }
  QDir().mkpath(root);
  if (!c.prepare(root, keep)) GTEST_SKIP() << "cannot be set up here";
  SingleInstance instance(root, 200);
  QString notice;
  EXPECT_EQ(instance.acquire(&notice), c.runs);
  if (c.why == nullptr) {
    EXPECT_TRUE(notice.isEmpty()) << notice.toStdString();
  } else {
    EXPECT_TRUE(notice.contains("another copy started on the same data would not be noticed"))
        << notice.toStdString();
    EXPECT_TRUE(notice.contains(QString::fromUtf8(c.why))) << notice.toStdString();
  }
}

bool nothing(const QString&, std::vector<std::unique_ptr<QObject>>&) { return true; }

INSTANTIATE_TEST_SUITE_P(
    Locks, SingleInstanceTest,
    testing::Values(Start{"FirstCopy", nothing, true, nullptr},
                    Start{"LockOfAnEndedCopyIsTakenOver",
                          [](const QString& root, auto&) {
                            writeLock(root, endedProcess());
                            return true;
                          },
                          true, nullptr},
                    Start{"LiveCopyAnswers",
                          [](const QString& root, auto& keep) {
                            auto first = std::make_unique<SingleInstance>(root);
                            const bool ok = first->acquire(nullptr);
                            keep.push_back(std::move(first));
                            return ok;
                          },
                          false, nullptr},
                    Start{"LiveHolderThatDoesNotAnswer",
                          [](const QString& root, auto&) {
                            writeLock(root, getpid());
                            return true;
                          },
                          true, "holds it and does not answer"},
                    Start{"LockOfAnEndedCopyOnAFullDisk",
                          [](const QString& root, auto&) {
                            writeLock(root, endedProcess());
                            QFile filler(root + "/../filler");
                            if (!filler.open(QIODevice::WriteOnly)) return false;
                            const QByteArray block(4096, 'f');
                            while (filler.write(block) == block.size() && filler.flush()) {
                            }
                            return true;
                          },
                          true, "No space left on device"}),
    [](const testing::TestParamInfo<Start>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tempodial
