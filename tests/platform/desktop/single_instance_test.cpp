// "Already running" only when a live copy answers; a lock that cannot be had
// starts the program anyway with a notice of why.
#include "platform/desktop/single_instance.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
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
#include <algorithm>
#include <atomic>
#include <csignal>
#include <memory>
#include <string>
#include <vector>

namespace tempodial {
namespace {

// A lock as QLockFile writes it, naming `pid` (0: a process that has ended,
// -1: none, an empty file as a power cut leaves it). Returns the file, open
// and locked as a live copy holds it, when `pid` is this process.
int writeLock(const QString& root, pid_t pid) {
  if (pid == 0) {
    if ((pid = fork()) == 0) _exit(0);
    waitpid(pid, nullptr, 0);
  }
  QFile lock(root + "/tempodial.lock");
  EXPECT_TRUE(lock.open(QIODevice::WriteOnly));
  if (pid > 0) {
    lock.write(QByteArray::number(pid) + "\n" +
               QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8() + "\n" +
               QSysInfo::machineHostName().toUtf8() + "\n");
  }
  lock.close();
  if (pid != getpid()) return -1;
  const int held = open(QFile::encodeName(lock.fileName()).constData(), O_RDONLY | O_CLOEXEC);
  EXPECT_EQ(flock(held, LOCK_EX | LOCK_NB), 0);
  return held;
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
  int held = -1;
  if (c == "LiveCopyAnswers") {
    ASSERT_TRUE(first.acquire(nullptr));
  } else {
    QDir().mkpath(root);
    held = writeLock(root, c == "LiveHolderThatDoesNotAnswer" ? getpid()
                           : c == "EmptyLockOfAPowerCut"      ? -1
                                                              : 0);
  }
  if (fullDisk) {
    QFile filler(dir.path() + "/filler");
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    while (filler.write(QByteArray(4096, 'f')) == 4096 && filler.flush()) {
    }
  }
  auto instance = std::make_unique<SingleInstance>(root, 200);
  QString notice;
  EXPECT_EQ(instance->acquire(&notice), GetParam().runs);
  if (fullDisk) umount(small);
  if (held >= 0) close(held);
  const QString why = QString::fromUtf8(GetParam().why ? GetParam().why : "");
  EXPECT_EQ(notice.contains("another copy started on the same data would not be noticed") &&
                notice.contains(why),
            !why.isEmpty())
      << notice.toStdString();
  if (c == "LiveHolderThatDoesNotAnswer") {
    EXPECT_TRUE(notice.contains(QString("process %1 ").arg(getpid()))) << notice.toStdString();
  }
  if (fullDisk) return;
  // A lock taken names this process, and goes when it ends; another's stays.
  const bool took = GetParam().runs && why.isEmpty();
  QFile lock(root + "/tempodial.lock");
  if (took) {
    ASSERT_TRUE(lock.open(QIODevice::ReadOnly));
    EXPECT_EQ(lock.readLine().trimmed().toLongLong(), getpid());
    lock.close();
  }
  instance.reset();
  EXPECT_EQ(lock.exists(), !took);
}

INSTANTIATE_TEST_SUITE_P(
    Locks, SingleInstanceTest,
    testing::Values(Start{"LiveCopyAnswers", false, nullptr},
                    Start{"LiveHolderThatDoesNotAnswer", true, "holds it and does not answer"},
                    Start{"LockOfAnEndedCopy", true, nullptr},
                    Start{"EmptyLockOfAPowerCut", true, nullptr},
                    Start{"LockOfAnEndedCopyOnAFullDisk", true, "No space left on device"}),
    [](const testing::TestParamInfo<Start>& info) { return std::string(info.param.name); });

// Forty copies started at the same moment over a lock left by a killed copy:
// one runs, the others find it and end.
TEST(SingleInstanceRace, FortySimultaneousStartsGiveOneCopy) {
  static int argc = 1;
  static char name[] = "test", *argv[] = {name, nullptr};
  if (QCoreApplication::instance() == nullptr) new QCoreApplication(argc, argv);
  QTemporaryDir dir;
  const QString root = dir.path() + "/tempodial";
  QDir().mkpath(root);
  writeLock(root, 0);
  int told[2];
  int go[2];
  ASSERT_EQ(pipe(told), 0);
  ASSERT_EQ(pipe(go), 0);
  std::vector<pid_t> copies;
  for (int i = 0; i < 40; ++i) {
    const pid_t pid = fork();
    if (pid == 0) {
      close(go[1]);
      char start;
      if (read(go[0], &start, 1) != 0) _exit(2);  // all at once, when the pipe closes
      SingleInstance instance(root);
      const char runs = instance.acquire(nullptr) ? 'R' : 'E';
      if (write(told[1], &runs, 1) != 1) _exit(2);
      pause();  // a copy that runs keeps its lock and socket until killed
      _exit(0);
    }
    copies.push_back(pid);
  }
  close(told[1]);
  close(go[0]);
  close(go[1]);
  std::string answers;
  char answer;
  while (answers.size() < copies.size() && read(told[0], &answer, 1) == 1) answers += answer;
  for (pid_t pid : copies) kill(pid, SIGKILL);
  for (pid_t pid : copies) waitpid(pid, nullptr, 0);
  EXPECT_EQ(std::count(answers.begin(), answers.end(), 'R'), 1) << answers;
  EXPECT_EQ(answers.size(), copies.size());
}

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
