// The modes that need no display, each run from its command line through the
// one start they share, in a process with no application object of its own:
// the export reads a journal through Qt's SQL driver, the quote reads a plan,
// and a verb with no copy running says so.
#include "platform/command_line/display_less_start.h"

#include <QCoreApplication>
#include <QDir>
#include <memory>

#include "platform/journal/session_journal.h"
#include "tests/platform/temp_folder_fixture.h"

namespace tempodial {
namespace {

struct StartCase {
  const char* name;
  QStringList arguments;
  bool journal;  // one run kept in the journal beforehand
  int status;
  QByteArray written;  // the start of out.csv afterwards
};

class DisplayLessStart : public TempFolderTest, public ::testing::WithParamInterface<StartCase> {
 protected:
  void SetUp() override {
    // What is tested is the application the start makes: ctest gives each
    // case a process of its own.
    if (QCoreApplication::instance() != nullptr) GTEST_SKIP() << "an application runs already";
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "DBUS_SESSION_BUS_ADDRESS"}) {
      saved_.emplace_back(name, qgetenv(name));
    }
    qputenv("XDG_DATA_HOME", at(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", at(QStringLiteral("config")).toLocal8Bit());
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    QDir().mkpath(at(QStringLiteral("config/tempodial/plans")));
    put(QStringLiteral("config/tempodial/plans/Flat.ini"), "[plan]\nname=Flat\nrate=2\n");
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) qputenv(name, value);
  }
  std::vector<std::pair<const char*, QByteArray>> saved_;
};

TEST_P(DisplayLessStart, RunsTheModeItsLineAsksFor) {
  const StartCase& c = GetParam();
  if (c.journal) {
    // A journal with one run, written by the window's own journal.
    QDir().mkpath(at(QStringLiteral("data/tempodial")));
    static int argc = 1;
    static char name[] = "display_less_start_test";
    static char* argv[] = {name, nullptr};
    auto app = std::make_unique<QCoreApplication>(argc, argv);
    SessionJournal journal(at(QStringLiteral("data/tempodial/history.sqlite3")));
    ASSERT_TRUE(journal.open().ok());
    SessionSnapshot run;
    run.cost = QStringLiteral("0");
    run.hours = run.minutes = run.seconds = QStringLiteral("0");
    run.tariff = QStringLiteral("Flat");
    run.currency = QStringLiteral("£");
    const QDateTime start =
        QDateTime::fromString(QStringLiteral("2026-12-05T10:00:00Z"), Qt::ISODate);
    auto row = journal.begin(run, start, 0);
    ASSERT_TRUE(row.ok()) << row.reason();
    run.counted = 60;
    ASSERT_TRUE(journal.finish(row.value(), run, start.addSecs(60), SessionEnd::Stopped).ok());
    journal.close();
  }
  QStringList arguments{QStringLiteral("tempodial")};
  for (const QString& argument : c.arguments) {
    arguments << (argument == QLatin1String("OUT") ? at(QStringLiteral("out.csv")) : argument);
  }
  EXPECT_EQ(runWithoutDisplay(readCommandLine(arguments)), c.status);
  EXPECT_TRUE(bytesOf(QStringLiteral("out.csv")).startsWith(c.written))
      << bytesOf(QStringLiteral("out.csv")).constData();
  // The application it made is gone with the mode's end.
  EXPECT_EQ(QCoreApplication::instance(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, DisplayLessStart,
    ::testing::Values(
        StartCase{"ExportReadsTheJournal",
                  {"--export-history", "OUT"},
                  true,
                  0,
                  "start,end,seconds,time,tariff,rate,currency,cost,ended,received_bytes,"
                  "sent_bytes\r\n2026-12-05"},
        StartCase{
            "ExportWithNoJournal", {"--export-history", "OUT"}, false, 0, "start,end,seconds"},
        StartCase{"Quote",
                  {"--quote", "2026-12-07T12:00", "0:10:00", "--plan", "Flat"},
                  false,
                  0,
                  "<missing>"},
        StartCase{"QuoteOfNoPlan",
                  {"--quote", "2026-12-07T12:00", "0:10:00", "--plan", "None"},
                  false,
                  1,
                  "<missing>"},
        StartCase{"VerbWithNoBus", {"--status"}, false, 1, "<missing>"},
        StartCase{"TheWindowIsNoneOfThem", {}, false, 1, "<missing>"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tempodial
