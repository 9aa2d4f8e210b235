// Writes into a full file system fail with a readable reason and leave the
// old file whole. Needs a small tmpfs, which root can mount.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/values/value_document.h"
#include "platform/files/file_service.h"
#include "platform/files/value_files.h"

namespace tempodial {
namespace {

class FullDiskTest : public testing::Test {
 protected:
  void SetUp() override {
    mountPoint = dir.path() + "/small";
    QDir().mkpath(mountPoint);
    if (geteuid() != 0 ||
        mount("tmpfs", mountPoint.toLocal8Bit().constData(), "tmpfs", 0, "size=64k") != 0) {
      GTEST_SKIP() << "a small tmpfs cannot be mounted here";
    }
    mounted = true;
  }
  void TearDown() override {
    if (mounted) umount(mountPoint.toLocal8Bit().constData());
  }
  // Fills the file system until nothing more fits.
  void fill() {
    QFile filler(mountPoint + "/filler");
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
  }

  QTemporaryDir dir;
  QString mountPoint;
  bool mounted = false;
};

TEST_F(FullDiskTest, SaveOnAFullDiskFailsAndKeepsTheOldDocument) {
  const QString path = mountPoint + "/seconds.tme";
  ASSERT_TRUE(saveValue(path, QStringLiteral("41"), kClockBoxFont).ok());
  fill();
  Status status = saveValue(path, QString(8000, QLatin1Char('9')), kClockBoxFont);
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.reason(), "No space left on device");
  auto text = loadValue(path);
  ASSERT_TRUE(text.ok()) << text.reason();
  EXPECT_EQ(text.value(), QStringLiteral("41"));
  QStringList left = QDir(mountPoint).entryList(QDir::Files | QDir::Hidden);
  left.sort();
  EXPECT_EQ(left, (QStringList{"filler", "seconds.tme"})) << "a temporary file was left behind";
}

}  // namespace
}  // namespace tempodial
