// File services against a temporary folder, including the faults a user's
// machine produces: a plain file in the way, a folder of the file's name.
#include "platform/files/file_service.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/files/value_files.h"
#include "tests/platform/temp_folder_fixture.h"

namespace tempodial {
namespace {

class FileServiceTest : public TempFolderTest {};

TEST_F(FileServiceTest, AFolderOfTheNameIsNotAFile) {
  QDir().mkpath(at("seconds.tme"));
  EXPECT_FALSE(fileExists(at("seconds.tme")));
  EXPECT_TRUE(folderExists(at("seconds.tme")));
  put("minutes.tme", "");
  EXPECT_TRUE(fileExists(at("minutes.tme")));
}

TEST_F(FileServiceTest, DeletingAnAbsentFileIsNoError) {
  EXPECT_TRUE(deleteIfPresent(at("nothing.opt")).ok());
  put("showcost.opt", "x");
  EXPECT_TRUE(deleteIfPresent(at("showcost.opt")).ok());
  EXPECT_FALSE(fileExists(at("showcost.opt")));
}

TEST_F(FileServiceTest, AtomicWriteReplacesTheWholeFileAndLeavesNoTemporary) {
  put("cost.tme", QByteArray(1000, 'x'));
  ASSERT_TRUE(writeFileAtomic(at("cost.tme"), "new").ok());
  EXPECT_EQ(bytesOf("cost.tme"), "new");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"cost.tme"});
}

TEST_F(FileServiceTest, WriteUnderAPlainFileFailsWithAReadableReasonAndNoDamage) {
  put("wex", "in the way");
  Status status = writeFileAtomic(at("wex/seconds.tme"), "0");
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.reason(), "Not a directory");
  EXPECT_EQ(bytesOf("wex"), "in the way");
}

TEST_F(FileServiceTest, WriteOntoAFolderFails) {
  QDir().mkpath(at("hours.tme"));
  Status status = writeFileAtomic(at("hours.tme"), "0");
  EXPECT_FALSE(status.ok());
  EXPECT_FALSE(status.reason().empty());
}

TEST_F(FileServiceTest, ReadRefusesMissingFoldersAndOversizedFiles) {
  EXPECT_EQ(readWholeFile(at("absent"), 10).reason(), "No such file or directory");
  QDir().mkpath(at("folder"));
  EXPECT_FALSE(readWholeFile(at("folder"), 10).ok());
  put("big", QByteArray(11, 'x'));
  EXPECT_FALSE(readWholeFile(at("big"), 10).ok());
  put("fits", QByteArray(10, 'x'));
  EXPECT_EQ(readWholeFile(at("fits"), 10).value().size(), 10);
}

TEST_F(FileServiceTest, FolderCreationMakesParentsAndReportsAFileInTheWay) {
  EXPECT_TRUE(makeFolder(at("tempodial/wex")).ok());
  EXPECT_TRUE(folderExists(at("tempodial/wex")));
  EXPECT_TRUE(makeFolder(at("tempodial/wex")).ok());
  put("blocked", "x");
  Status status = makeFolder(at("blocked/wex"));
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.reason(), "Not a directory");
}

TEST_F(FileServiceTest, ValueFilesRoundTripAndRejectForeignBytes) {
  ASSERT_TRUE(
      saveValue(at("locnc41.txt"), QStringLiteral("C:\\Program Files\\a b £"), kSansSerifBoxFont)
          .ok());
  auto text = loadValue(at("locnc41.txt"));
  ASSERT_TRUE(text.ok()) << text.reason();
  EXPECT_EQ(text.value(), QStringLiteral("C:\\Program Files\\a b £"));
  put("garbage.tme", "\x01\x02 not a document");
  EXPECT_FALSE(loadValue(at("garbage.tme")).ok());
  put("huge.tme", QByteArray(10 * 1024 * 1024, '{'));
  EXPECT_FALSE(loadValue(at("huge.tme")).ok());
}

}  // namespace
}  // namespace tempodial
