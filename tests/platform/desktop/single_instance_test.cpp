// "Already running" when a live copy answers, and no second copy where one
// holds the lock without answering; a lock that cannot be had starts the
// program anyway with a notice of why.
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
  const QString meaning = GetParam().runs
                              ? "another copy started on the same data would not be noticed"
                              : "could not be reached";
  EXPECT_EQ(notice.contains(meaning) && notice.contains(why), !why.isEmpty())
      << notice.toStdString();
  if (c == "LiveHolderThatDoesNotAnswer") {
    EXPECT_TRUE(notice.contains(QString("Process %1 runs on the same data").arg(getpid())))
        << notice.toStdString();
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
                    Start{"LiveHolderThatDoesNotAnswer", false, "cannot be opened"},
                    Start{"LockOfAnEndedCopy", true, nullptr},
                    Start{"EmptyLockOfAPowerCut", true, nullptr},
                    Start{"LockOfAnEndedCopyOnAFullDisk", true, "No space left on device"}),
    [](const testing::TestParamInfo<Start>& info) { return std::string(info.param.name); });

// The socket's folder as others may have made it before this user: in the
// temporary folder anyone can make a name first. Exactly one copy runs, and
// a second start that cannot reach it says which process runs and why.
struct Planted {
  const char* name;
  // Makes the runtime folder (null: none) and the private folder under the
  // temporary folder as the case has them; false when it cannot be done here.
  bool (*plant)(const QByteArray& runtime, const QByteArray& own);
  const char* fault;  // why there is no socket, or nullptr when there is one
};

bool otherUsers(const QByteArray& path) { return getuid() == 0 && chown(path, 65534, 65534) == 0; }

class PlantedSocketFolder : public testing::TestWithParam<Planted> {};

TEST_P(PlantedSocketFolder, LeavesOneCopyAndTheSecondStartExplains) {
  static int argc = 1;
  static char name[] = "test", *argv[] = {name, nullptr};
  if (QCoreApplication::instance() == nullptr) new QCoreApplication(argc, argv);
  QTemporaryDir dir;
  const QByteArray runtime = QFile::encodeName(dir.path() + "/run");
  const QByteArray temporary = QFile::encodeName(dir.path() + "/tmp");
  const QByteArray own = temporary + "/tempodial-" + QByteArray::number(getuid());
  ASSERT_EQ(mkdir(temporary, 01777), 0);
  if (!GetParam().plant(runtime, own)) GTEST_SKIP() << "cannot be set up here";
  const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
  const QByteArray oldTemporary = qgetenv("TMPDIR");
  QFileInfo(QFile::decodeName(runtime)).exists() ? qputenv("XDG_RUNTIME_DIR", runtime)
                                                 : qunsetenv("XDG_RUNTIME_DIR");
  qputenv("TMPDIR", temporary);
  const QString root = dir.path() + "/tempodial";
  QString firstNotice;
  QString secondNotice;
  {
    SingleInstance first(root);
    ASSERT_TRUE(first.acquire(&firstNotice));
    SingleInstance second(root, 200);
    EXPECT_FALSE(second.acquire(&secondNotice));
  }
  oldRuntime.isNull() ? qunsetenv("XDG_RUNTIME_DIR") : qputenv("XDG_RUNTIME_DIR", oldRuntime);
  oldTemporary.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", oldTemporary);
  const QString fault = QString::fromUtf8(GetParam().fault ? GetParam().fault : "");
  if (fault.isEmpty()) {
    EXPECT_TRUE(firstNotice.isEmpty() && secondNotice.isEmpty())
        << firstNotice.toStdString() << secondNotice.toStdString();
    return;
  }
  EXPECT_TRUE(firstNotice.contains("cannot make its socket") && firstNotice.contains(fault))
      << firstNotice.toStdString();
  EXPECT_TRUE(secondNotice.contains(QString("Process %1 runs on the same data").arg(getpid())) &&
              secondNotice.contains("could not be reached") && secondNotice.contains(fault))
      << secondNotice.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Folders, PlantedSocketFolder,
    testing::Values(Planted{"PrivateRuntimeFolder",
                            [](const QByteArray& runtime, const QByteArray& own) {
                              // Another's name in the temporary folder does not matter.
                              return !mkdir(runtime, 0700) && !mkdir(own, 0700) && otherUsers(own);
                            },
                            nullptr},
                    Planted{"RuntimeFolderOfAnotherUser",
                            [](const QByteArray& runtime, const QByteArray&) {
                              return !mkdir(runtime, 0700) && otherUsers(runtime);
                            },
                            nullptr},
                    Planted{"FolderMadeByAnotherUser",
                            [](const QByteArray&, const QByteArray& own) {
                              return !mkdir(own, 0700) && otherUsers(own);
                            },
                            "belongs to another user"},
                    Planted{"LinkMadeByAnotherUser",
                            [](const QByteArray& runtime, const QByteArray& own) {
                              return !mkdir(runtime + "-real", 0700) &&
                                     !symlink(runtime + "-real", own) && getuid() == 0 &&
                                     lchown(own, 65534, 65534) == 0;
                            },
                            "it is a symbolic link"}),
    [](const testing::TestParamInfo<Planted>& info) { return std::string(info.param.name); });

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
