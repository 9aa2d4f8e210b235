// The roll-forward record of a TimeLog save and the temporary names that an
// interrupted save leaves: a start-up completes only a whole record of ours
// and removes only the program's own temporaries.
#include "core/files/save_unit.h"

#include <gtest/gtest.h>

#include <cctype>

namespace tempodial {
namespace {

const std::vector<std::string> kUnit = {"/d/wex/seconds.tme", "/d/wex/minutes.tme",
                                        "/d/wex/hours.tme"};

TEST(UnitRecord, AWrittenRecordRollsForwardExactlyItsFiles) {
  UnitRecovery plan = planRecovery(writeUnitRecord(kUnit));
  EXPECT_TRUE(plan.rollForward);
  EXPECT_EQ(plan.finalPaths, kUnit);
  EXPECT_EQ(stagedPath("/d/wex/seconds.tme"), "/d/wex/seconds.tme.staged");
}

struct RecordCase {
  const char* name;
  std::string text;
};

class DamagedRecord : public testing::TestWithParam<RecordCase> {};

TEST_P(DamagedRecord, IsDiscardedSoTheOldFilesStand) {
  UnitRecovery plan = planRecovery(GetParam().text);
  EXPECT_FALSE(plan.rollForward);
  EXPECT_TRUE(plan.finalPaths.empty());
}

std::string whole() { return writeUnitRecord(kUnit); }

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedRecord,
    testing::Values(
        RecordCase{"Empty", ""},
        RecordCase{"TornBeforeTheTrailer", whole().substr(0, whole().size() - 4)},
        RecordCase{"TornInTheTrailer", whole().substr(0, whole().size() - 1)},
        RecordCase{"TornInAPath", whole().substr(0, 40)},
        RecordCase{"OtherHeader", "tempodial roll-forward 2\n/d/wex/seconds.tme\nend\n"},
        RecordCase{"NoFiles", "tempodial roll-forward 1\nend\n"},
        RecordCase{"RelativePath", "tempodial roll-forward 1\nwex/seconds.tme\nend\n"},
        RecordCase{"EmptyLine", "tempodial roll-forward 1\n\nend\n"},
        RecordCase{"TooManyFiles", writeUnitRecord(std::vector<std::string>(9, "/d/x"))},
        RecordCase{"SomethingElse", std::string("{\\rtf1 \0\xff", 9)}),
    [](const auto& info) { return std::string(info.param.name); });

struct LeftoverCase {
  const char* fileName;
  bool leftover;
};

class SaveLeftover : public testing::TestWithParam<LeftoverCase> {};

TEST_P(SaveLeftover, OnlyTheProgramsOwnTemporaryNamesAreLeftovers) {
  EXPECT_EQ(isSaveLeftover(GetParam().fileName), GetParam().leftover) << GetParam().fileName;
}

INSTANTIATE_TEST_SUITE_P(
    Names, SaveLeftover,
    testing::Values(LeftoverCase{"seconds.tme.SEHpEq", true},   // a save's temporary
                    LeftoverCase{"buttshow.opt.a1B2c3", true},  // of any file of the set
                    LeftoverCase{"ccost2.cst.000000", true},
                    LeftoverCase{"timelog.roll.Zz9aQ1", true},  // the record's temporary
                    LeftoverCase{"minutes.tme.staged", true},   // a staged document
                    LeftoverCase{"last3.cst.staged", true},
                    LeftoverCase{"seconds.tme", false},  // the files themselves
                    LeftoverCase{"timelog.roll", false},
                    LeftoverCase{"seconds.tme.SEHpE", false},  // five characters
                    LeftoverCase{"seconds.tme.SEHpEqq", false},
                    LeftoverCase{"seconds.tme.SE-pEq", false},
                    LeftoverCase{"seconds.tmeXSEHpEq", false},
                    LeftoverCase{"Seconds.TME.SEHpEq", false},  // not a name the program writes
                    LeftoverCase{"notes.txt.SEHpEq", false},    // the user's own
                    LeftoverCase{"notes.txt.staged", false}, LeftoverCase{".staged", false},
                    LeftoverCase{".SEHpEq", false}, LeftoverCase{"", false}),
    [](const auto& info) {
      std::string name;
      for (char c : std::string(info.param.fileName)) {
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      }
      return name.empty() ? std::string("Empty") : "N" + name;
    });

}  // namespace
}  // namespace tempodial
