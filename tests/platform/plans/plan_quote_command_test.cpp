// The command line's quote in London: the hour the clocks skip, the hour
// they repeat, a plan that cannot be read, and output that cannot be
// written, each told on standard error with status 1.
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <ctime>

#include "platform/command_line/command_line.h"
#include "platform/journal/session_journal.h"
#include "platform/plans/plan_quote_command.h"
#include "platform/plans/plan_store.h"
#include "tests/platform/temp_folder_fixture.h"

namespace tempodial {
namespace {

// The quote as the command line asks for it.
int printQuote(const QStringList& arguments, std::FILE* out, std::FILE* err) {
  return printQuote(readCommandLine(QStringList{"tempodial"} + arguments).quote, out, err);
}

std::string readBack(std::FILE* file) {
  std::fflush(file);
  std::rewind(file);
  std::string text;
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) text += static_cast<char>(c);
  return text;
}

struct QuoteCase {
  const char* name;
  QStringList arguments;
  int status;
  const char* out;  // the start of standard output
  const char* err;  // a part of standard error
};

class QuoteCommand : public TempFolderTest, public ::testing::WithParamInterface<QuoteCase> {
 protected:
  void SetUp() override {
    // The journal's driver wants an application object, as the command
    // line's display-less start makes it.
    if (QCoreApplication::instance() == nullptr) {
      static int argc = 1;
      static char name[] = "plan_quote_command_test";
      static char* argv[] = {name, nullptr};
      new QCoreApplication(argc, argv);
    }
    oldConfig_ = qgetenv("XDG_CONFIG_HOME");
    oldData_ = qgetenv("XDG_DATA_HOME");
    oldZone_ = qgetenv("TZ");
    qputenv("XDG_CONFIG_HOME", at(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", at(QStringLiteral("data")).toLocal8Bit());
    qputenv("TZ", "Europe/London");
    tzset();
    QDir().mkpath(plansFolder());
    // 3p a minute between 01:00 and 02:00 on the day the clocks go back.
    put(QStringLiteral("config/tempodial/plans/Back.ini"),
        "[plan]\nname=Back\nrate=1\n[rule1]\ndates=10-25\nfrom=01:00\nto=02:00\nrate=3\n");
    // 1p a MB beyond 100 MB a month; the journal holds 90 MB used on 5 December.
    put(QStringLiteral("config/tempodial/plans/Mobile.ini"),
        "[plan]\nname=Mobile\nrate=0\nper_mb=1\nallowance_mb=100\n");
    // Named by their files, whose names hold what a terminal would obey.
    put(QStringLiteral("config/tempodial/plans/Cheap\r\u00A30.01  Cheap.ini"), "[plan]\nrate=1\n");
    QDir().mkpath(at(QStringLiteral("data/tempodial")));
    SessionJournal journal(at(QStringLiteral("data/tempodial/history.sqlite3")));
    ASSERT_TRUE(journal.open().ok());
    SessionSnapshot run;
    run.cost = QStringLiteral("0");
    run.hours = run.minutes = run.seconds = QStringLiteral("0");
    run.tariff = QStringLiteral("Mobile");
    run.currency = QStringLiteral("£");
    const QDateTime start =
        QDateTime::fromString(QStringLiteral("2026-12-05T10:00:00Z"), Qt::ISODate);
    auto row = journal.begin(run, start, 0);
    ASSERT_TRUE(row.ok()) << row.reason();
    run.counted = 60;
    run.received = 90000000;
    ASSERT_TRUE(journal.finish(row.value(), run, start.addSecs(60), SessionEnd::Stopped).ok());
    for (const char* fifo : {"gone.ini", "Fifo.ini", "Odd\x1B[2J.ini"}) {
      ASSERT_EQ(::mkfifo(at(QStringLiteral("config/tempodial/plans/") + fifo).toLocal8Bit(), 0600),
                0);
    }
  }
  void TearDown() override {
    qputenv("XDG_CONFIG_HOME", oldConfig_);
    qputenv("XDG_DATA_HOME", oldData_);
    qputenv("TZ", oldZone_);
    tzset();
  }
  QByteArray oldConfig_, oldData_, oldZone_;
};

TEST_P(QuoteCommand, TellsTheQuoteOrWhyNot) {
  const QuoteCase& c = GetParam();
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  EXPECT_EQ(printQuote(c.arguments, out, err), c.status);
  EXPECT_EQ(readBack(out).substr(0, std::string(c.out).size()), c.out);
  const std::string said = readBack(err);
  EXPECT_NE(said.find(c.err), std::string::npos) << said;
  std::fclose(out);
  std::fclose(err);
}

INSTANTIATE_TEST_SUITE_P(
    London, QuoteCommand,
    ::testing::Values(
        // The month's use so far comes from the journal, or from --used.
        QuoteCase{"AllowanceAfterTheMonthsUse",
                  {"--quote", "2026-12-07T12:00", "0:10:00", "--plan", "Mobile", "--data", "25"},
                  0,
                  "£0.15  Mobile",
                  ""},
        QuoteCase{"AllowanceAsIfUsed",
                  {"--quote", "2026-12-07T12:00", "0:10:00", "--plan", "Mobile", "--data", "25",
                   "--used", "99.5"},
                  0,
                  "£0.245  Mobile",
                  ""},
        QuoteCase{"AllowanceOfTheNextMonth",
                  {"--quote", "2027-01-02T12:00", "0:10:00", "--plan", "Mobile", "--data", "25"},
                  0,
                  "£0.00  Mobile",
                  ""},
        QuoteCase{"InTheGap",
                  {"--quote", "2026-03-29T01:30", "1:00:00", "--plan", "Back"},
                  1,
                  "",
                  "2026-03-29T01:30 does not exist in Europe/London (clocks go forward)"},
        // The first 01:30 (BST): an hour of local times from 01:30 to 01:30
        // again, all at 3p; the second (GMT) leaves the rule at 02:00.
        QuoteCase{"RepeatedHourFirst",
                  {"--quote", "2026-10-25T01:30", "1:00:00", "--plan", "Back"},
                  0,
                  "£1.80  Back, 1:00:00 from Sun 25 Oct 01:30\n",
                  ""},
        QuoteCase{"RepeatedHourSecondByOffset",
                  {"--quote", "2026-10-25T01:30+00:00", "1:00:00", "--plan", "Back"},
                  0,
                  "£1.20  Back, 1:00:00 from Sun 25 Oct 01:30\n",
                  ""},
        QuoteCase{"OffsetTheZoneNeverHas",
                  {"--quote", "2026-10-25T01:30+05:00", "1:00:00", "--plan", "Back"},
                  1,
                  "",
                  "is not a time in Europe/London"},
        QuoteCase{"LateEvening",
                  {"--quote", "2026-12-07T23:59:59", "0:00:01", "--plan", "Back"},
                  0,
                  "£0.01  Back, 0:00:01 from Mon 7 Dec 23:59:59\n",
                  ""},
        QuoteCase{"NoSuchHour",
                  {"--quote", "2026-12-07T24:00", "0:01:00", "--plan", "Back"},
                  1,
                  "",
                  "\"2026-12-07T24:00\" is not a start time"},
        QuoteCase{"LengthTooLong",
                  {"--quote", "2026-12-07T12:00", "1000:00:00", "--plan", "Back"},
                  1,
                  "",
                  "at most 999:59:59"},
        QuoteCase{"PlanInAFileThatCannotBeRead",
                  {"--quote", "2026-12-07T12:00", "1:00:00", "--plan", "Gone"},
                  1,
                  "",
                  "; gone.ini: "},
        QuoteCase{"PlansOwnFileCannotBeRead",
                  {"--quote", "2026-12-07T12:00", "1:00:00", "--plan", "Fifo"},
                  1,
                  "",
                  "the tariff plan \"Fifo\" cannot be read: Fifo.ini: "},
        // Nothing from a plan reaches the terminal as a control it obeys.
        QuoteCase{"NameThatWouldRewriteTheLine",
                  {"--quote", "2026-12-07T12:00", "1:00:00", "--plan", "Cheap\r\u00A30.01  Cheap"},
                  0,
                  "\u00A30.60  Cheap\\x0D\u00A30.01  Cheap, 1:00:00",
                  ""},
        QuoteCase{"FileNameThatWouldClearTheScreen",
                  {"--quote", "2026-12-07T12:00", "1:00:00", "--plan", "Gone"},
                  1,
                  "",
                  "Odd\\x1B[2J.ini: not an ordinary file"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(QuoteCommand, OutputThatCannotBeWrittenIsToldWithTheReason) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  ::close(ends[0]);  // nobody reads
  std::FILE* out = ::fdopen(ends[1], "w");
  std::FILE* err = std::tmpfile();
  EXPECT_EQ(printQuote({"--quote", "2026-12-07T12:00", "1:00:00", "--plan", "Back"}, out, err), 1);
  EXPECT_EQ(readBack(err), "tempodial: cannot write the quote: Broken pipe\n");
  std::fclose(out);
  std::fclose(err);
}

}  // namespace
}  // namespace tempodial
