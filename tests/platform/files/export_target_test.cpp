// Every kind of thing an export's name can stand for: what receives the CSV,
// what is refused with which reason, and that no node is ever replaced.
// Nodes are made in the test's own folder, never in /dev.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <cstring>
#include <functional>
#include <thread>

#include "platform/files/export_target.h"
#include "platform/files/file_service.h"
#include "platform/files/places.h"
#include "tests/platform/temp_folder_fixture.h"

namespace tempodial {
namespace {

QByteArray local(const QString& path) { return QFile::encodeName(path); }

class ExportTargetTest : public TempFolderTest {
 protected:
  void SetUp() override { ASSERT_TRUE(QDir().mkpath(at("data/wex"))); }
  QStringList own() const { return programFiles(Places(at("data")), at("data/history.sqlite3")); }
  // Exports `csv` to `name`; the reason it failed, or "" on success.
  std::string exportTo(const QString& name, const QByteArray& csv,
                       ExportOutput::Reader reader = ExportOutput::Reader::Wait) {
    auto out = ExportOutput::open(at(name), own(), reader);
    if (!out.ok()) return out.reason();
    out.value()->write(csv.toStdString());
    const Status done = out.value()->finish();
    return done.ok() ? "" : done.reason();
  }
  bool node(const QString& name, mode_t type, struct stat* info) {
    if (::mknod(local(at(name)).constData(), type | 0600, info->st_rdev) != 0) return false;
    return ::lstat(local(at(name)).constData(), info) == 0;
  }
  int socketFd = -1;
  void TearDown() override {
    if (socketFd >= 0) ::close(socketFd);
  }
};

TEST_F(ExportTargetTest, EachKindOfTargetIsWrittenStreamedOrRefused) {
  const QByteArray csv = QByteArray("start,end\r\n").repeated(20000);  // more than a pipe holds
  struct Case {
    const char* name;
    std::function<bool()> make;  // false: cannot be made here (skipped)
    QString target;
    std::string reason;  // "" when the CSV arrives
    bool streamed;       // read from a FIFO by another thread
  };
  auto link = [this](const char* name, const char* to) {
    return ::symlink(local(at(to)).constData(), local(at(name)).constData()) == 0;
  };
  struct stat nodes[3]{};
  nodes[0].st_rdev = makedev(1, 3);  // null-like
  nodes[1].st_rdev = makedev(1, 7);  // full-like
  nodes[2].st_rdev = makedev(7, 0);  // a loop block device, never opened
  const std::vector<Case> cases = {
      {"new file", [] { return true; }, "new.csv", "", false},
      {"fifo", [&] { return ::mkfifo(local(at("fifo")).constData(), 0600) == 0; }, "fifo", "",
       true},
      {"link to fifo", [&] { return link("to-fifo", "fifo"); }, "to-fifo", "", true},
      {"null device", [&] { return node("null", S_IFCHR, &nodes[0]); }, "null", "", false},
      {"full device", [&] { return node("full", S_IFCHR, &nodes[1]); }, "full",
       "No space left on device", false},
      {"link to full device", [&] { return link("to-full", "full"); }, "to-full",
       "No space left on device", false},
      {"block device", [&] { return node("block", S_IFBLK, &nodes[2]); }, "block",
       "it is a block device", false},
      {"folder", [&] { return QDir().mkpath(at("folder")); }, "folder", "Is a directory", false},
      {"socket",
       [&] {
         socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
         sockaddr_un address{};
         address.sun_family = AF_UNIX;
         std::strncpy(address.sun_path, local(at("socket")).constData(),
                      sizeof address.sun_path - 1);
         return ::bind(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
       },
       "socket", "it is a socket", false},
      {"journal", [&] { return QFile(at("data/history.sqlite3")).open(QIODevice::WriteOnly); },
       "data/history.sqlite3", kOwnFile, false},
      {"journal's wal through a link", [&] { return link("wal", "data/history.sqlite3-wal"); },
       "wal", kOwnFile, false},
      {"journal's shm by another path", [] { return true; }, "data/wex/../history.sqlite3-shm",
       kOwnFile, false},
      {"classic file", [] { return true; }, "data/wex/seconds.tme", kOwnFile, false},
      {"classic file through a linked folder", [&] { return link("place", "data"); },
       "place/weekday.cst", kOwnFile, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.make()) {
      std::printf("[  SKIPPED ] %s: cannot be made here: %s\n", c.name, std::strerror(errno));
      continue;
    }
    struct stat before {};
    const bool existed = ::lstat(local(at(c.target)).constData(), &before) == 0;
    QByteArray read;
    std::thread reader;
    if (c.streamed) {
      reader = std::thread([&] {
        QFile fifo(at(c.target));
        if (fifo.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) read = fifo.readAll();
      });
    }
    EXPECT_EQ(exportTo(c.target, csv), c.reason);
    if (reader.joinable()) reader.join();
    if (c.streamed) {
      EXPECT_EQ(read, csv);
    }
    if (c.reason.empty() && !existed) {
      EXPECT_EQ(bytesOf(c.target), csv);
    }
    struct stat after {};
    const bool exists = ::lstat(local(at(c.target)).constData(), &after) == 0;
    EXPECT_EQ(exists, existed || c.reason.empty());
    if (existed) {
      EXPECT_EQ(after.st_ino, before.st_ino) << "the node itself is never replaced";
      EXPECT_EQ(after.st_mode, before.st_mode);
    }
  }
  EXPECT_FALSE(QFileInfo::exists(at("data/history.sqlite3-wal")));
  EXPECT_EQ(QDir(at("data/wex")).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST_F(ExportTargetTest, AnOrdinaryFileOrItsLinkIsReplacedWholeKeepingItsMode) {
  put("kept.csv", "old");
  ASSERT_EQ(::chmod(local(at("kept.csv")).constData(), 0640), 0);
  ASSERT_EQ(::symlink("kept.csv", local(at("link.csv")).constData()), 0);
  for (const char* name : {"kept.csv", "link.csv"}) {
    EXPECT_EQ(exportTo(QString::fromLatin1(name), QByteArray("new ") + name), "");
    struct stat info {};
    ASSERT_EQ(::stat(local(at("kept.csv")).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
  }
  EXPECT_TRUE(QFileInfo(at("link.csv")).isSymLink());
  EXPECT_EQ(bytesOf("kept.csv"), "new link.csv");
  // A failed export leaves the old file whole.
  auto out = ExportOutput::open(at("kept.csv"), own(), ExportOutput::Reader::Wait);
  ASSERT_TRUE(out.ok());
  out.value()->write("half");
  out.value()->cancel();
  EXPECT_EQ(bytesOf("kept.csv"), "new link.csv");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
            (QStringList{"kept.csv", "link.csv"}));
}

TEST_F(ExportTargetTest, AFifoWhoseReaderGoesAwayOrNeverComesIsAFailureNotAnEnd) {
  ASSERT_EQ(::mkfifo(local(at("fifo")).constData(), 0600), 0);
  // A window does not wait for a reader.
  EXPECT_EQ(exportTo("fifo", "x", ExportOutput::Reader::Required), "no program is reading from it");
  std::thread reader([&] { ::close(::open(local(at("fifo")).constData(), O_RDONLY)); });
  auto out = ExportOutput::open(at("fifo"), own(), ExportOutput::Reader::Wait);
  ASSERT_TRUE(out.ok());
  reader.join();
  const QByteArray csv(1 << 20, 'x');
  EXPECT_FALSE(out.value()->write(csv.toStdString()));
  EXPECT_EQ(out.value()->finish().reason(), std::strerror(EPIPE));
}

}  // namespace
}  // namespace tempodial
