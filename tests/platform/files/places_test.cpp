// The folder taken when there is no home: the user's own and private, or a
// new private one beside it with a notice.
#include "platform/files/places.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>

namespace tempodial {
namespace {

struct Found {
  const char* name;
  bool (*make)(const QByteArray& path);  // false: cannot be set up here
  const char* refusal;                   // in the notice, or nullptr when taken
};

class PrivateFolderTest : public testing::TestWithParam<Found> {};

TEST_P(PrivateFolderTest, IsTakenOnlyWhenItIsTheUsersOwnAndPrivate) {
  QTemporaryDir dir;
  const QString wanted = dir.path() + "/tempodial-1000";
  if (!GetParam().make(QFile::encodeName(wanted))) GTEST_SKIP() << "cannot be set up here";
  QString notice;
  const QString taken = privateFolder(wanted, &notice);
  const QString refusal = QString::fromUtf8(GetParam().refusal ? GetParam().refusal : "");
  EXPECT_EQ(taken == wanted, refusal.isEmpty());
  EXPECT_EQ(notice.isEmpty(), refusal.isEmpty()) << notice.toStdString();
  EXPECT_TRUE(refusal.isEmpty() ||
              (notice.contains(wanted + " is not your own private folder (" + refusal) &&
               notice.contains(taken)))
      << notice.toStdString();
  struct stat info {};
  ASSERT_EQ(lstat(QFile::encodeName(taken).constData(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode) && info.st_uid == getuid() && (info.st_mode & 07777) == 0700);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PrivateFolderTest,
    testing::Values(
        Found{"MissingIsMade", [](const QByteArray&) { return true; }, nullptr},
        Found{"OwnPrivate", [](const QByteArray& p) { return mkdir(p, 0700) == 0; }, nullptr},
        Found{"OpenToAll",
              [](const QByteArray& p) { return mkdir(p, 0700) == 0 && !chmod(p, 0777); },
              "other users have access to it (mode 0777)"},
        Found{"AnotherUsers",
              [](const QByteArray& p) {
                return getuid() == 0 && mkdir(p, 0700) == 0 && chown(p, 65534, 65534) == 0;
              },
              "it belongs to another user"},
        Found{"LinkToAPrivateFolder",
              [](const QByteArray& p) {
                return !mkdir(p + "-real", 0700) && !symlink(p + "-real", p);
              },
              "it is a symbolic link"},
        Found{"AFile",
              [](const QByteArray& p) {
                return QFile(QFile::decodeName(p)).open(QIODevice::WriteOnly);
              },
              "it is not a folder"}),
    [](const testing::TestParamInfo<Found>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tempodial
