// Names that stand for something other than an ordinary file: a FIFO, a
// device, a socket, a folder, and symbolic links to them. Reads fail at once
// instead of waiting, saves refuse one at the name or through a link and leave
// it as it was, and a replaced file keeps its owner, group and mode.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>

#include "core/files/save_unit.h"
#include "platform/files/file_service.h"
#include "platform/files/save_unit.h"
#include "tests/platform/temp_folder_fixture.h"

namespace tempodial {
namespace {

enum class Odd { Fifo, Device, Socket, Folder };

struct OddCase {
  const char* name;
  Odd kind;
};

QByteArray local(const QString& path) { return QFile::encodeName(path); }

class OddFileTest : public testing::TestWithParam<OddCase> {
 protected:
  void SetUp() override { odd = at("odd"); }
  void TearDown() override {
    if (socketFd >= 0) ::close(socketFd);
  }
  QString at(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }

  // Makes the odd thing at `odd`; skips where it cannot be made here.
  void makeOdd() {
    switch (GetParam().kind) {
      case Odd::Fifo:
        ASSERT_EQ(::mkfifo(local(odd).constData(), 0600), 0);
        break;
      case Odd::Device:
        // A pseudo-terminal master: reading it without O_NONBLOCK waits for
        // ever. Made in the test's own folder, never in /dev.
        if (::mknod(local(odd).constData(), S_IFCHR | 0600, makedev(5, 2)) != 0) {
          GTEST_SKIP() << "cannot make a device node here: " << std::strerror(errno);
        }
        break;
      case Odd::Socket: {
        socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_GE(socketFd, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        ASSERT_LT(local(odd).size(), static_cast<qsizetype>(sizeof address.sun_path));
        std::strcpy(address.sun_path, local(odd).constData());
        ASSERT_EQ(::bind(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ASSERT_EQ(::listen(socketFd, 1), 0);
        break;
      }
      case Odd::Folder:
        ASSERT_TRUE(QDir().mkpath(odd));
        break;
    }
    ASSERT_EQ(::lstat(local(odd).constData(), &made), 0);
  }
  void link(const QString& name, const QString& target) {
    ASSERT_EQ(::symlink(local(target).constData(), local(at(name)).constData()), 0);
  }
  // The odd thing is still there, of the same kind, untouched.
  void expectOddUntouched() {
    struct stat now {};
    ASSERT_EQ(::lstat(local(odd).constData(), &now), 0);
    EXPECT_EQ(now.st_mode, made.st_mode);
    EXPECT_EQ(now.st_ino, made.st_ino);
    EXPECT_EQ(now.st_rdev, made.st_rdev);
  }

  QTemporaryDir dir;
  QString odd;
  struct stat made {};
  int socketFd = -1;
};

TEST_P(OddFileTest, ReadFailsAtOnceDirectlyAndThroughLinks) {
  makeOdd();
  if (IsSkipped()) return;
  link("seconds.tme", odd);
  link("minutes.tme", at("seconds.tme"));
  const char* expected = GetParam().kind == Odd::Folder ? "Is a directory" : kNotOrdinary;
  for (const QString& path : {odd, at("seconds.tme"), at("minutes.tme")}) {
    QElapsedTimer clock;
    clock.start();
    auto bytes = readWholeFile(path, 1024 * 1024);
    EXPECT_LT(clock.elapsed(), 1000) << path.toStdString();
    EXPECT_FALSE(bytes.ok());
    EXPECT_EQ(bytes.reason(), expected) << path.toStdString();
  }
  expectOddUntouched();
}

TEST_P(OddFileTest, SaveThroughALinkIsRefusedAndTheTargetUntouched) {
  makeOdd();
  if (IsSkipped()) return;
  link("cost.tme", odd);
  link("hours.tme", at("cost.tme"));  // a chain of links ends there too
  for (const char* name : {"cost.tme", "hours.tme"}) {
    Status status = writeFileAtomic(at(name), "new");
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(status.reason(), kNotOrdinary) << name;
    EXPECT_TRUE(QFileInfo(at(name)).isSymLink()) << name;
  }
  // In a TimeLog unit: refused before anything is written.
  QFile seconds(at("seconds.tme"));
  ASSERT_TRUE(seconds.open(QIODevice::WriteOnly));
  seconds.write("old");
  seconds.close();
  UnitOutcome outcome =
      saveUnit(at(QString::fromLatin1(kUnitRecordName.data())),
               {{at("seconds.tme"), "new"}, {at("hours.tme"), "new"}, {at("minutes.tme"), "new"}});
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.failedPath, at("hours.tme"));
  EXPECT_EQ(outcome.reason, kNotOrdinary);
  ASSERT_TRUE(seconds.open(QIODevice::ReadOnly));
  EXPECT_EQ(seconds.readAll(), "old");
  QStringList left =
      QDir(dir.path())
          .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
  left.sort();
  EXPECT_EQ(left, (QStringList{"cost.tme", "hours.tme", "odd", "seconds.tme"}));
  expectOddUntouched();
}

TEST_P(OddFileTest, SaveStraightAtTheNameIsRefusedAndTheNodeUntouched) {
  odd = at("cost.tme");
  makeOdd();
  if (IsSkipped()) return;
  const char* expected = GetParam().kind == Odd::Folder ? "Is a directory" : kNotOrdinary;
  EXPECT_EQ(writeFileAtomic(odd, "new").reason(), expected);
  UnitOutcome outcome = saveUnit(at(QString::fromLatin1(kUnitRecordName.data())), {{odd, "new"}});
  EXPECT_EQ(outcome.reason, expected);
  expectOddUntouched();
}

INSTANTIATE_TEST_SUITE_P(Kinds, OddFileTest,
                         testing::Values(OddCase{"Fifo", Odd::Fifo}, OddCase{"Device", Odd::Device},
                                         OddCase{"Socket", Odd::Socket},
                                         OddCase{"Folder", Odd::Folder}),
                         [](const auto& info) { return std::string(info.param.name); });

class ReplacedFileTest : public TempFolderTest {};

TEST_F(ReplacedFileTest, ALinkToAnOrdinaryFileStaysAndItsTargetIsReplaced) {
  ASSERT_TRUE(QDir().mkpath(at("elsewhere")));
  put("elsewhere/real.cst", "old");
  ASSERT_EQ(::symlink("elsewhere/real.cst", local(at("weekday.cst")).constData()), 0);
  ASSERT_TRUE(writeFileAtomic(at("weekday.cst"), "new").ok());
  EXPECT_TRUE(QFileInfo(at("weekday.cst")).isSymLink());
  EXPECT_EQ(bytesOf("elsewhere/real.cst"), "new");

  ASSERT_EQ(::symlink("elsewhere/real.tme", local(at("seconds.tme")).constData()), 0);
  put("elsewhere/real.tme", "old");
  ASSERT_TRUE(saveUnit(at("timelog.roll"), {{at("seconds.tme"), "unit"}}).ok);
  EXPECT_TRUE(QFileInfo(at("seconds.tme")).isSymLink());
  EXPECT_EQ(bytesOf("elsewhere/real.tme"), "unit");
  EXPECT_EQ(QDir(at("elsewhere")).entryList(QDir::Files | QDir::Hidden),
            (QStringList{"real.cst", "real.tme"}));
}

TEST_F(ReplacedFileTest, AReplacedFileKeepsItsOwnerGroupAndMode) {
  if (geteuid() != 0) GTEST_SKIP() << "only root may give a file to another user";
  const uid_t otherUser = 4242;
  const gid_t otherGroup = 4343;
  for (const char* name : {"cost.tme", "seconds.tme"}) {
    put(name, "old");
    ASSERT_EQ(::chown(local(at(name)).constData(), otherUser, otherGroup), 0);
    ASSERT_EQ(::chmod(local(at(name)).constData(), 0604), 0);
  }
  ASSERT_TRUE(writeFileAtomic(at("cost.tme"), "new").ok());
  ASSERT_TRUE(saveUnit(at("timelog.roll"), {{at("seconds.tme"), "new"}}).ok);
  for (const char* name : {"cost.tme", "seconds.tme"}) {
    struct stat info {};
    ASSERT_EQ(::stat(local(at(name)).constData(), &info), 0);
    EXPECT_EQ(info.st_uid, otherUser) << name;
    EXPECT_EQ(info.st_gid, otherGroup) << name;
    EXPECT_EQ(info.st_mode & 07777, 0604u) << name;
    EXPECT_EQ(bytesOf(name), "new") << name;
  }
}

}  // namespace
}  // namespace tempodial
