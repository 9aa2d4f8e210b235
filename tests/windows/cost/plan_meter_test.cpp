// The cost meter under a tariff plan: connection at Start, steps as they
// begin, the minimum and the data volume at Stop, in the journal's last
// update too, and no classic minute charge.
#include <QDir>
#include <QFile>
#include <QSqlQuery>

#include "platform/clock/clock_model.h"
#include "platform/clock/plan_meter.h"
#include "platform/forms/controls.h"
#include "platform/forms/form_timer.h"
#include "platform/journal/session_journal.h"
#include "platform/plans/plan_store.h"
#include "tests/windows/window_fixture.h"
#include "windows/main/main_window.h"

namespace tempodial {
namespace {

class PlanMeterTest : public WindowTest {
 protected:
  void SetUp() override {
    usePlan("Flat", "[plan]\nname=Flat\nconnection=5\nminimum=10\nstep=60\nrate=1.2\n");
    startMain();
  }
  void usePlan(const QString& name, const char* text) {
    QDir().mkpath(plansFolder());
    QFile file(plansFolder() + "/" + name + ".ini");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    ASSERT_TRUE(setPlanInUse(name).ok());
  }
  void elapseAfter(qint64 ms) {
    services.clockMs += ms;
    session->tick().elapse();
  }
  QString cost() { return session->clock().cost(); }
  QString journalCost() {
    QSqlQuery query(runtime->journal().database());
    query.exec(QStringLiteral("SELECT cost_end FROM sessions ORDER BY id DESC LIMIT 1"));
    return query.next() ? query.value(0).toString() : QString();
  }
};

TEST_F(PlanMeterTest, ChargesConnectionStepsAndMinimumInsteadOfTheMinute) {
  EXPECT_EQ(main().planRate->caption(), QStringLiteral("Standard 1.2p/min"));
  session->clock().startStop();
  EXPECT_EQ(cost(), QStringLiteral("0.05"));
  elapseAfter(1000);
  EXPECT_EQ(cost(), QStringLiteral("0.062"));
  elapseAfter(59000);  // the minute rolls over, but no classic charge is added
  EXPECT_EQ(session->clock().minutes(), QStringLiteral("1"));
  EXPECT_EQ(cost(), QStringLiteral("0.062"));
  elapseAfter(1000);
  EXPECT_EQ(cost(), QStringLiteral("0.074"));
  session->clock().startStop();
  EXPECT_EQ(cost(), QStringLiteral("0.1"));  // raised to the 10p minimum
  EXPECT_EQ(journalCost(), QStringLiteral("0.1"));

  // A run of 0 s is no run: its connection charge is taken back.
  session->clock().startStop();
  EXPECT_EQ(cost(), QStringLiteral("0.15"));
  session->clock().startStop();
  EXPECT_EQ(cost(), QStringLiteral("0.1"));

  // Back to the classic tariffs: the minute is charged at the rate in use.
  ASSERT_TRUE(setPlanInUse(QString()).ok());
  main().planMeter().reload();
  EXPECT_TRUE(main().planRate->isHidden());
  session->clock().startStop();
  elapseAfter(60000);
  EXPECT_EQ(cost(), QStringLiteral("0.114"));
}

TEST_F(PlanMeterTest, KeepsTheMinimumInTheJournalForARunCutShort) {
  session->clock().startStop();
  elapseAfter(5000);  // the journal's update: a kill now loses nothing
  EXPECT_EQ(cost(), QStringLiteral("0.062"));
  EXPECT_EQ(journalCost(), QStringLiteral("0.1"));  // as the run would end: the 10p minimum
  session->clock().startStop();
  EXPECT_EQ(cost(), QStringLiteral("0.1"));
  EXPECT_EQ(journalCost(), QStringLiteral("0.1"));
}

TEST_F(PlanMeterTest, LeavesARunAfterThePlansLastDayToTheClassicTariffs) {
  usePlan("Old", "[plan]\nname=Old\nconnection=5\nrate=1.2\nvalid_until=2001-01-01\n");
  main().planMeter().reload();
  session->clock().startStop();
  EXPECT_EQ(cost(), QStringLiteral("0"));
  elapseAfter(60000);
  EXPECT_EQ(cost(), QStringLiteral("0.014"));
}

TEST_F(PlanMeterTest, ChargesTheVolumeWithTheJournalsUpdateAndAtStop) {
  usePlan("ByMb", "[plan]\nname=ByMb\nrate=0\nper_mb=1\n");
  main().planMeter().reload();
  session->clock().startStop();
  setTrafficCounters(1500000, 500000);
  elapseAfter(4000);  // the counters are read with the journal's update only
  EXPECT_EQ(cost(), QStringLiteral("0"));
  elapseAfter(1000);
  EXPECT_EQ(cost(), QStringLiteral("0.02"));
  setTrafficCounters(2500000, 1000000);
  session->clock().startStop();
  EXPECT_EQ(cost(), QStringLiteral("0.035"));
  EXPECT_EQ(journalCost(), QStringLiteral("0.035"));
}

// 1p a MB beyond 3 MB a month: what the month's recorded sessions used
// counts, unless that month has ended since it was read.
TEST_F(PlanMeterTest, ChargesOnlyBeyondWhatIsLeftOfTheMonthsAllowance) {
  struct Case {
    const char* name;
    qint64 recorded;
    int resetsInDays;
    const char* whileRunning;  // after 2 MB
    const char* atStop;        // after 3.5 MB
  };
  const Case cases[] = {{"Unused", 0, 10, "0", "0.005"},
                        {"TwoMbUsed", 2000000, 10, "0.01", "0.025"},
                        {"UsedInAnEndedMonth", 2000000, 0, "0", "0.005"}};
  usePlan("Mobile", "[plan]\nname=Mobile\nrate=0\nper_mb=1\nallowance_mb=3\n");
  main().planMeter().reload();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    session->clock().setCost(QStringLiteral("0"));
    const QDate today = QDate::currentDate();
    session->clock().setAllowance(ClockModel::Allowance{
        3000000, c.recorded,
        CivilDate{today.addDays(c.resetsInDays).year(), today.addDays(c.resetsInDays).month(),
                  today.addDays(c.resetsInDays).day()}});
    setTrafficCounters(0, 0);
    session->clock().startStop();
    setTrafficCounters(1500000, 500000);
    elapseAfter(5000);
    EXPECT_EQ(cost(), QString::fromLatin1(c.whileRunning));
    setTrafficCounters(2500000, 1000000);
    session->clock().startStop();
    EXPECT_EQ(cost(), QString::fromLatin1(c.atStop));
  }
}

}  // namespace
}  // namespace tempodial
