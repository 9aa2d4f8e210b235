#include <sys/stat.h>

#include "platform/plans/plan_store.h"

#include "tests/platform/temp_folder_fixture.h"

namespace tempodial {
namespace {

class PlanStore : public TempFolderTest {
 protected:
  void SetUp() override {
    old_ = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", at(QStringLiteral("config")).toLocal8Bit());
  }
  void TearDown() override { qputenv("XDG_CONFIG_HOME", old_); }
  QByteArray old_;
};

TEST_F(PlanStore, ImportCopiesASoundFileUnderASafeNameAndFindsItUntilItTurnsFaulty) {
  put(QStringLiteral("good.ini"),
      "[plan]\nname=Night/Day\nrate=1.4\n[rule1]\ndays=sat,sun\nrate=0.5\n");
  auto copied = importPlan(at(QStringLiteral("good.ini")));
  ASSERT_TRUE(copied.ok()) << copied.reason();
  EXPECT_EQ(copied.value(), plansFolder() + QStringLiteral("/Night_Day.ini"));
  auto found = findPlan(QStringLiteral("Night/Day"));
  ASSERT_TRUE(found.ok()) << found.reason();

  // A file that turns faulty is listed with its error and not found; a name
  // no file bears, and a file that cannot be read, each say so by kind.
  put(QStringLiteral("config/tempodial/plans/Night_Day.ini"), "[plan]\nrate=1\nstep=0\n");
  found = findPlan(QStringLiteral("Night/Day"));
  EXPECT_EQ(found.status().kind(), StatusKind::Invalid);
  EXPECT_EQ(found.reason(), "Night_Day.ini, line 3, key step: must be 1 to 3600 seconds");
  ASSERT_EQ(listPlanFiles().size(), 1u);
  EXPECT_EQ(listPlanFiles()[0].error().toStdString(), found.reason());
  EXPECT_EQ(findPlan(QStringLiteral("Other")).status().kind(), StatusKind::NotFound);
  ASSERT_EQ(::mkfifo(at(QStringLiteral("config/tempodial/plans/Pipe.ini")).toLocal8Bit(), 0600), 0);
  found = findPlan(QStringLiteral("Other"));
  EXPECT_EQ(found.status().kind(), StatusKind::Unreadable);
  EXPECT_EQ(found.reason().rfind("the tariff plan \"Other\" cannot be read: Pipe.ini: ", 0), 0u)
      << found.reason();
}

}  // namespace
}  // namespace tempodial
