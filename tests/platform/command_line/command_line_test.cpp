// The command line read once: which mode each line asks for, what a mode
// is given, and each misuse told in the words the program has always used.
#include "platform/command_line/command_line.h"

#include <gtest/gtest.h>

namespace tempodial {
namespace {

using Mode = CommandLine::Mode;

struct Case {
  const char* name;
  QStringList arguments;
  Mode mode;
  QString misuse;  // the whole misuse, or its start followed by "..."
};

TEST(CommandLineTest, EachLineAsksForOneModeOrIsToldWhatIsWrong) {
  const Case cases[] = {
      {"NoArguments", {}, Mode::Window, ""},
      // Qt's own options are the window's; -reverse is no -v.
      {"QtOptions", {"-platform", "offscreen", "-reverse", "-style", "fusion"}, Mode::Window, ""},
      {"HelpWins", {"--quote", "x", "-h"}, Mode::Help, ""},
      {"Version", {"-v"}, Mode::Version, ""},
      {"VersionLong", {"--login", "--version"}, Mode::Version, ""},
      {"Verb", {"--toggle"}, Mode::Control, ""},
      {"StatusAsJson", {"--json", "--status"}, Mode::Control, ""},
      {"JsonAlone", {"--json"}, Mode::Misuse, "--json goes with --status"},
      {"JsonWithAnotherVerb", {"--toggle", "--json"}, Mode::Misuse, "--json goes with --status"},
      {"StatusFollowed", {"--follow", "--status", "--json"}, Mode::Control, ""},
      {"FollowWithAnotherVerb",
       {"--stop", "--follow"},
       Mode::Misuse,
       "--follow goes with --status"},
      {"FollowAlone", {"--follow"}, Mode::Misuse, "--follow goes with --status"},
      {"TwoVerbs",
       {"--start", "--stop"},
       Mode::Misuse,
       "give one of --start, --stop, --toggle and --status"},
      {"VerbWithAnOption",
       {"--status", "--login"},
       Mode::Misuse,
       "--status does not go with --login"},
      {"VerbWithAWord", {"now", "--stop"}, Mode::Misuse, "--stop does not go with now"},
      {"Export", {"--export-history", "-", "--to", "2026-01-31"}, Mode::Export, ""},
      // A file named like an option's tail is still the file.
      {"ExportToAFileNamedXfrom", {"--export-history", "xfrom"}, Mode::Export, ""},
      {"ExportLacksFile", {"--export-history"}, Mode::Misuse, "--export-history needs a value"},
      {"ExportLacksDay", {"--export-history", "f", "--from"}, Mode::Misuse, "--from needs a value"},
      {"ExportEmptyFile",
       {"--export-history="},
       Mode::Misuse,
       "--export-history needs a file name or -"},
      {"ExportBadDay",
       {"--export-history", "f", "--to", "2026-02-30"},
       Mode::Misuse,
       "--to wants a date as YYYY-MM-DD, not \"2026-02-30\""},
      {"ExportDaysReversed",
       {"--export-history", "f", "--from", "2026-12-02", "--to", "2026-12-01"},
       Mode::Misuse,
       "--from comes after --to"},
      {"ExportUnknown",
       {"--export-history", "f", "--bogus"},
       Mode::Misuse,
       "unknown option --bogus"},
      {"ExportWithAWord", {"extra", "--export-history", "f"}, Mode::Misuse, "unknown option extra"},
      {"ExportWithQuote",
       {"--export-history", "f", "--quote"},
       Mode::Misuse,
       "unknown option --quote"},
      {"DaysWithoutExport",
       {"--login", "--to", "2026-12-01", "--from", "x"},
       Mode::Misuse,
       "--to goes with --export-history"},
      {"QuoteVolumesWithoutQuote",
       {"--used", "90", "--login", "--data=25"},
       Mode::Misuse,
       "--used goes with --quote"},
      {"PlanWithoutQuote", {"-plan", "Cheap"}, Mode::Misuse, "-plan goes with --quote"},
      {"Quote", {"--quote", "2026-12-07T17:50", "1:00:00", "--data", "12.5"}, Mode::Quote, ""},
      {"QuoteLacksPlan",
       {"--quote", "a", "b", "--plan"},
       Mode::Misuse,
       "--plan needs the name of a plan"},
      {"QuoteBadData", {"--quote", "a", "b", "--data", "1e3"}, Mode::Misuse, "--data needs a..."},
      {"QuoteLacksUsed", {"--quote", "a", "b", "--used"}, Mode::Misuse, "--used needs a..."},
      {"QuoteOneWord", {"--quote", "a"}, Mode::Misuse, "usage: tempodial --quote..."},
      {"QuoteWithLogin",
       {"--quote", "a", "b", "--login"},
       Mode::Misuse,
       "usage: tempodial --quote..."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CommandLine line = readCommandLine(QStringList{"tempodial"} + c.arguments);
    EXPECT_EQ(line.mode, c.mode);
    if (c.misuse.endsWith(QLatin1String("..."))) {
      EXPECT_TRUE(line.misuse.startsWith(c.misuse.chopped(3))) << line.misuse.toStdString();
    } else {
      EXPECT_EQ(line.misuse, c.misuse);
    }
  }
}

TEST(CommandLineTest, GivesEachModeWhatItAsked) {
  const CommandLine window = readCommandLine({"tempodial", "-platform", "xcb", "--login"});
  EXPECT_TRUE(window.login);

  const CommandLine exported =
      readCommandLine({"tempodial", "--from=2026-12-01", "--export-history", "out.csv"});
  EXPECT_EQ(exported.exportRequest.file, "out.csv");
  EXPECT_EQ(exported.exportRequest.from, (CivilDate{2026, 12, 1}));
  EXPECT_FALSE(exported.exportRequest.to);

  const CommandLine quote = readCommandLine({"tempodial", "--quote", "2026-12-07T17:50", "1:00:00",
                                             "--plan", "--odd name", "--used", "19000.5"});
  EXPECT_EQ(quote.quote.start, "2026-12-07T17:50");
  EXPECT_EQ(quote.quote.duration, "1:00:00");
  EXPECT_EQ(quote.quote.plan, "--odd name");
  EXPECT_EQ(quote.quote.dataBytes, 0);
  EXPECT_EQ(quote.quote.usedBytes, 19000500000);

  const CommandLine status = readCommandLine({"tempodial", "--status", "--json"});
  EXPECT_EQ(status.control.verb, "--status");
  EXPECT_TRUE(status.control.json);
  EXPECT_FALSE(status.control.follow);
  EXPECT_TRUE(readCommandLine({"tempodial", "--status", "--follow"}).control.follow);
  EXPECT_EQ(readCommandLine({"tempodial", "--start", "--json"}).usage,
            "Usage: tempodial --start | --stop | --toggle | --status [--follow] [--json]\n");
  EXPECT_TRUE(readCommandLine({"tempodial", "--from", "x"}).usage.startsWith("Usage: tempodial"));
}

}  // namespace
}  // namespace tempodial
