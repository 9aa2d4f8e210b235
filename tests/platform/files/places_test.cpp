// The folder taken when there is no home: the user's own and private, or a
// new private one beside it with a notice.
#include "platform/files/places.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace tempodial {
namespace {

struct Found {
  const char* name;
  bool (*make)(const QByteArray& path);  // false: cannot be set up here
  const char* refusal;                   // in the notice, or nullptr when taken
};

TEST(PrivateFolderTest, MissingFolderIsMadePrivate) {
  QTemporaryDir dir;
  const QString wanted = dir.path() + "/tempodial-1000";
  QString notice;
  EXPECT_EQ(privateFolder(wanted, &notice), wanted);
  EXPECT_TRUE(notice.isEmpty());
  struct stat info {};
  ASSERT_EQ(lstat(QFile::encodeName(wanted).constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0700u);
}

class FoundFolderTest : public testing::TestWithParam<Found> {};

TEST_P(FoundFolderTest, IsTakenOnlyWhenItIsTheUsersOwnAndPrivate) {
  const Found& c = GetParam();
  QTemporaryDir dir;
  const QString wanted = dir.path() + "/tempodial-1000";
  if (!c.make(QFile::encodeName(wanted))) GTEST_SKIP() << "cannot be set up here";
  QString notice;
  const QString taken = privateFolder(wanted, &notice);
  if (c.refusal == nullptr) {
    EXPECT_EQ(taken, wanted);
    EXPECT_TRUE(notice.isEmpty()) << notice.toStdString();
    return;
  }
  EXPECT_NE(taken, wanted);
  EXPECT_TRUE(notice.contains(wanted) && notice.contains(taken) &&
              notice.contains(QString::fromUtf8(c.refusal)))
      << notice.toStdString();
  struct stat info {};
  ASSERT_EQ(lstat(QFile::encodeName(taken).constData(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(info.st_uid, getuid());
  EXPECT_EQ(info.st_mode & 07777, 0700u);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, FoundFolderTest,
    testing::Values(
        Found{"OwnPrivate", [](const QByteArray& p) { return mkdir(p, 0700) == 0; }, nullptr},
        Found{"OpenToAll",
              [](const QByteArray& p) { return mkdir(p, 0700) == 0 && chmod(p, 0777) == 0; },
              "other users have access to it (mode 0777)"},
        Found{"AnotherUsers",
              [](const QByteArray& p) {
                return getuid() == 0 && mkdir(p, 0700) == 0 && chown(p, 65534, 65534) == 0;
              },
              "it belongs to another user"},
        Found{"LinkToAPrivateFolder",
              [](const QByteArray& p) {
                return mkdir(p + "-real", 0700) == 0 && symlink(p + "-real", p) == 0;
              },
              "it is a symbolic link"},
        Found{"AFile",
              [](const QByteArray& p) {
                QFile file(QFile::decodeName(p));
                return file.open(QIODevice::WriteOnly);
              },
              "it is not a folder"}),
    [](const testing::TestParamInfo<Found>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tempodial
