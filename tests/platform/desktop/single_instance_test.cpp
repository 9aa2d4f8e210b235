// "Already running" only when a live copy answers; a lock that cannot be had
// starts the program anyway with a notice of why.
#include "platform/desktop/single_instance.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <memory>

namespace tempodial {
namespace {

// A lock as QLockFile writes it, held by `pid` (0: a process that has ended).
void writeLock(const QString& root, pid_t pid) {
  if (pid == 0) {
    if ((pid = fork()) == 0) _exit(0);
    waitpid(pid, nullptr, 0);
  }
  QFile lock(root + "/tempodial.lock");
  ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
  lock.write(QByteArray::number(pid) + "\n" +
             QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8() + "\n" +
             QSysInfo::machineHostName().toUtf8() + "\n");
}

// The first start and a start after a kill are run by
// tests/e2e/session_e2e.py (two-copies).
struct Start {
  const char* name;
  bool runs;
  const char* why;  // in the notice, or nullptr when there is none
};

class SingleInstanceTest : public testing::TestWithParam<Start> {};

TEST_P(SingleInstanceTest, SaysAlreadyRunningOnlyWhenALiveCopyAnswers) {
  static int argc = 1;
  static char name[] = "test", *argv[] = {name, nullptr};
  if (QCoreApplication::instance() == nullptr) new QCoreApplication(argc, argv);
  const std::string c = GetParam().name;
  QTemporaryDir dir;
  QString root = dir.path() + "/tempodial";
  const bool fullDisk = c == "LockOfAnEndedCopyOnAFullDisk";
  const QByteArray small = QFile::encodeName(dir.path());
  if (fullDisk && (geteuid() != 0 || mount("tmpfs", small, "tmpfs", 0, "size=64k") != 0)) {
    GTEST_SKIP() << "a small tmpfs cannot be mounted here";
  }
  SingleInstance first(root);
  if (c == "LiveCopyAnswers") {
    ASSERT_TRUE(first.acquire(nullptr));
  } else {
    QDir().mkpath(root);
    writeLock(root, c == "LiveHolderThatDoesNotAnswer" ? getpid() : 0);
  }
  if (fullDisk) {
    QFile filler(dir.path() + "/filler");
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    while (filler.write(QByteArray(4096, 'f')) == 4096 && filler.flush()) {
    }
  }
  SingleInstance instance(root, 200);
  QString notice;
  EXPECT_EQ(instance.acquire(&notice), GetParam().runs);
  if (fullDisk) umount(small);
  const QString why = QString::fromUtf8(GetParam().why ? GetParam().why : "");
  EXPECT_EQ(notice.contains("another copy started on the same data would not be noticed") &&
                notice.contains(why),
            !why.isEmpty())
      << notice.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Locks, SingleInstanceTest,
    testing::Values(Start{"LiveCopyAnswers", false, nullptr},
                    Start{"LiveHolderThatDoesNotAnswer", true, "holds it and does not answer"},
                    Start{"LockOfAnEndedCopyOnAFullDisk", true, "No space left on device"}),
    [](const testing::TestParamInfo<Start>& info) { return std::string(info.param.name); });

// A start that finds a live copy says whether that copy answered that its
// window is now in view.
TEST(SingleInstanceAnswer, TellsWhetherTheRunningCopyShowedItsWindow) {
  static int argc = 1;
  static char name[] = "test", *argv[] = {name, nullptr};
  if (QCoreApplication::instance() == nullptr) new QCoreApplication(argc, argv);
  for (const bool shown : {true, false}) {
    QTemporaryDir dir;
    const QString root = dir.path() + "/tempodial";
    std::atomic<bool> listening = false;
    std::unique_ptr<QThread> running(QThread::create([&] {
      SingleInstance first(root);
      QEventLoop loop;
      first.onRaise = [&] {
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
        return shown;
      };
      first.acquire(nullptr);
      listening = true;
      QTimer::singleShot(5000, &loop, &QEventLoop::quit);
      loop.exec();
    }));
    running->start();
    while (!listening) QThread::msleep(10);
    SingleInstance second(root);
    EXPECT_FALSE(second.acquire(nullptr));
    EXPECT_EQ(second.otherCopyShown(), shown);
    running->wait();
  }
}

}  // namespace
}  // namespace tempodial
