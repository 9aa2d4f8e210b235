#include "platform/command_line/command_line.h"

#include <QCommandLineParser>
#include <algorithm>
#include <cstdio>
#include <string>

#include "core/volume/data_volume.h"

namespace tempodial {
namespace {

constexpr const char* kUsage =
    "Usage: tempodial [--help] [--version] [--login] [Qt options]\n"
    "       tempodial --export-history FILE|- [--from YYYY-MM-DD] [--to YYYY-MM-DD]\n"
    "       tempodial --quote YYYY-MM-DDTHH:MM[:SS] h:mm:ss [--plan NAME] [--data MB]\n"
    "                 [--used MB]\n"
    "       tempodial --start | --stop | --toggle | --status [--follow] [--json]\n"
    "\n"
    "Times your online sessions by hand, estimates what the connection costs at a\n"
    "per-minute tariff, keeps the totals between runs and starts your Internet\n"
    "programs.\n"
    "\n"
    "Files live in $XDG_DATA_HOME/tempodial/ (default ~/.local/share/tempodial/)\n"
    "and its wex/ folder.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "  -v, --version  show the version and exit\n"
    "  --login        started with the desktop session: the main window waits\n"
    "                 behind the status icon where there is one\n"
    "  --export-history FILE  write the kept sessions as CSV to FILE (- for\n"
    "                 standard output), without a display; --from and --to\n"
    "                 choose the days the sessions started on\n"
    "  --quote START DURATION  print what a run starting at START (local time)\n"
    "                 and lasting DURATION would cost under the tariff plan in\n"
    "                 use or the one --plan names, without a display; --data\n"
    "                 adds a data volume, counted against the plan's monthly\n"
    "                 allowance after what this billing month has used (or\n"
    "                 the MB --used gives)\n"
    "  --start, --stop, --toggle  start, stop or press Start/Stop of the running\n"
    "                 copy's clock over the session bus (--start starts a copy\n"
    "                 when none runs)\n"
    "  --status [--json]  print the running copy's clock, cost and data volume\n"
    "                 on one line, or as one JSON object for panel modules\n"
    "  --follow       with --status: print it again at each change, and each\n"
    "                 second while the clock runs, until killed\n";

// The name an argument gives an option: "--from=x" and "-from" give "from";
// nothing for a word that is no option.
QString optionName(const QString& argument) {
  if (!argument.startsWith(QLatin1Char('-')) || argument.size() < 2) return {};
  const qsizetype dashes = argument.startsWith(QLatin1String("--")) ? 2 : 1;
  return argument.mid(dashes).section(QLatin1Char('='), 0, 0);
}

std::optional<CivilDate> parseDate(const QString& text) {
  int year = 0, month = 0, day = 0;
  char rest = 0;
  const QByteArray bytes = text.toLatin1();
  if (text.size() != 10 ||
      std::sscanf(bytes.constData(), "%4d-%2d-%2d%c", &year, &month, &day, &rest) != 3) {
    return std::nullopt;
  }
  const CivilDate date{year, month, day};
  // A day that does not exist (2026-02-30) comes back as another date.
  if (month < 1 || month > 12 || day < 1 || localDate(daysFromCivil(date), 0) != date) {
    return std::nullopt;
  }
  return date;
}

// The command line as Qt's parser reads it, asked in the terms of one mode.
class Reading {
 public:
  explicit Reading(const QStringList& arguments) : arguments_(arguments.mid(1)) {
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char* flag :
         {"login", "quote", "start", "stop", "toggle", "status", "json", "follow"}) {
      parser_.addOption(QCommandLineOption(QString::fromLatin1(flag)));
    }
    parser_.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    parser_.addOption(
        QCommandLineOption(QStringList{QStringLiteral("v"), QStringLiteral("version")}));
    for (const char* valued : {"export-history", "from", "to", "plan", "data", "used"}) {
      parser_.addOption(
          QCommandLineOption(QString::fromLatin1(valued), QString(), QStringLiteral("value")));
    }
    // Its complaints are not used: each mode says what is wrong in its own
    // words, and the window leaves the rest to Qt.
    parser_.parse(arguments);
  }

  bool has(const char* name) const { return parser_.isSet(QString::fromLatin1(name)); }
  QString value(const char* name) const { return parser_.value(QString::fromLatin1(name)); }
  QStringList words() const { return parser_.positionalArguments(); }

  // The argument as typed that names `name` first.
  QString typed(const QString& name) const {
    for (const QString& argument : arguments_) {
      if (optionName(argument) == name) return argument;
    }
    return QStringLiteral("--") + name;
  }

  // Whether the command line ends with `name` still wanting its value.
  bool lacksValue(const QString& name) const {
    return !arguments_.isEmpty() && optionName(arguments_.last()) == name &&
           !arguments_.last().contains(QLatin1Char('='));
  }
  QString firstLacking(std::initializer_list<const char*> names) const {
    for (const char* name : names) {
      if (lacksValue(QString::fromLatin1(name))) return typed(QString::fromLatin1(name));
    }
    return {};
  }

  // The first argument, as typed, that is not one of the `allowed` options:
  // another option of the program's, an unknown one, or (unless `words`
  // are allowed) a word. Empty when there is none.
  QString stray(const QStringList& allowed, bool wordsAllowed = false) const {
    QStringList candidates;
    for (const QString& name : parser_.optionNames() + parser_.unknownOptionNames()) {
      if (!allowed.contains(name)) candidates << typed(name);
    }
    if (!wordsAllowed) candidates << words();
    return earliest(candidates);
  }

  // Of these arguments as typed, the one the command line gives first.
  QString earliest(const QStringList& candidates) const {
    const auto place = [this](const QString& argument) {
      const qsizetype at = arguments_.indexOf(argument);
      return at < 0 ? arguments_.size() : at;
    };
    const auto first = std::min_element(
        candidates.begin(), candidates.end(),
        [&place](const QString& a, const QString& b) { return place(a) < place(b); });
    return first == candidates.end() ? QString() : *first;
  }

 private:
  QStringList arguments_;
  QCommandLineParser parser_;
};

CommandLine misuse(QString what, QString usage = {}) {
  CommandLine line;
  line.mode = CommandLine::Mode::Misuse;
  line.misuse = std::move(what);
  line.usage = std::move(usage);
  return line;
}

CommandLine control(const Reading& reading) {
  QStringList verbs;
  for (const char* verb : {"start", "stop", "toggle", "status"}) {
    if (reading.has(verb)) verbs << QString::fromLatin1(verb);
  }
  const QString usage = QStringLiteral("Usage: %1\n").arg(QLatin1String(kControlVerbsUsage));
  if (verbs.size() > 1) {
    return misuse(QStringLiteral("give one of --start, --stop, --toggle and --status"), usage);
  }
  for (const char* option : {"json", "follow"}) {
    if (reading.has(option) && (verbs.isEmpty() || verbs.first() != QLatin1String("status"))) {
      return misuse(QStringLiteral("--%1 goes with --status").arg(QLatin1String(option)), usage);
    }
  }
  if (const QString other =
          reading.stray({verbs.first(), QStringLiteral("json"), QStringLiteral("follow")});
      !other.isEmpty()) {
    return misuse(QStringLiteral("%1 does not go with %2").arg(reading.typed(verbs.first()), other),
                  usage);
  }
  CommandLine line;
  line.mode = CommandLine::Mode::Control;
  line.control = {QStringLiteral("--") + verbs.first(), reading.has("json"), reading.has("follow")};
  return line;
}

CommandLine historyExport(const Reading& reading) {
  if (const QString other = reading.stray(
          {QStringLiteral("export-history"), QStringLiteral("from"), QStringLiteral("to")});
      !other.isEmpty()) {
    return misuse(QStringLiteral("unknown option %1").arg(other));
  }
  if (const QString lacking = reading.firstLacking({"export-history", "from", "to"});
      !lacking.isEmpty()) {
    return misuse(QStringLiteral("%1 needs a value").arg(lacking));
  }
  CommandLine line;
  line.mode = CommandLine::Mode::Export;
  ExportRequest& request = line.exportRequest;
  request.file = reading.value("export-history");
  for (const char* bound : {"from", "to"}) {
    if (!reading.has(bound)) continue;
    const auto date = parseDate(reading.value(bound));
    if (!date) {
      return misuse(QStringLiteral("%1 wants a date as YYYY-MM-DD, not \"%2\"")
                        .arg(reading.typed(QString::fromLatin1(bound)), reading.value(bound)));
    }
    (bound[0] == 'f' ? request.from : request.to) = date;
  }
  if (request.file.isEmpty())
    return misuse(QStringLiteral("--export-history needs a file name or -"));
  if (request.from && request.to && daysFromCivil(*request.from) > daysFromCivil(*request.to)) {
    return misuse(QStringLiteral("--from comes after --to"));
  }
  return line;
}

CommandLine quote(const Reading& reading) {
  if (reading.lacksValue(QStringLiteral("plan"))) {
    return misuse(QStringLiteral("--plan needs the name of a plan"));
  }
  CommandLine line;
  line.mode = CommandLine::Mode::Quote;
  QuoteRequest& request = line.quote;
  for (const char* volume : {"data", "used"}) {
    if (!reading.has(volume)) continue;
    const auto bytes = reading.lacksValue(QString::fromLatin1(volume))
                           ? std::nullopt
                           : parseMegabytes(reading.value(volume).toStdString());
    if (!bytes) {
      return misuse(QStringLiteral("--%1 needs a number of MB like 250 or 12.5 (under 10000000, "
                                   "at most 6 decimals)")
                        .arg(QLatin1String(volume)));
    }
    if (volume[0] == 'd') {
      request.dataBytes = *bytes;
    } else {
      request.usedBytes = *bytes;
    }
  }
  const QStringList words = reading.words();
  if (words.size() != 2 || !reading
                                .stray({QStringLiteral("quote"), QStringLiteral("plan"),
                                        QStringLiteral("data"), QStringLiteral("used")},
                                       true)
                                .isEmpty()) {
    return misuse(
        QStringLiteral("usage: tempodial --quote YYYY-MM-DDTHH:MM[:SS][+HH:MM] h:mm:ss "
                       "[--plan NAME] [--data MB] [--used MB]"));
  }
  request.start = words[0];
  request.duration = words[1];
  request.plan = reading.value("plan");
  return line;
}

}  // namespace

const char* usageText() { return kUsage; }

CommandLine readCommandLine(const QStringList& arguments) {
  const Reading reading(arguments);
  CommandLine line;
  if (reading.has("help")) {
    line.mode = CommandLine::Mode::Help;
  } else if (reading.has("version")) {
    line.mode = CommandLine::Mode::Version;
  } else if (reading.has("start") || reading.has("stop") || reading.has("toggle") ||
             reading.has("status") || reading.has("json") || reading.has("follow")) {
    line = control(reading);
  } else if (reading.has("export-history")) {
    line = historyExport(reading);
  } else if (reading.has("quote")) {
    line = quote(reading);
  } else if (reading.has("from") || reading.has("to") || reading.has("plan") ||
             reading.has("data") || reading.has("used")) {
    // --from and --to choose the days of an export, --plan, --data and --used
    // describe a quote: each means nothing without its own.
    QStringList given;
    qsizetype bounds = 0;
    for (const char* option : {"from", "to", "plan", "data", "used"}) {
      if (!reading.has(option)) continue;
      given << reading.typed(QString::fromLatin1(option));
      bounds += option[0] == 'f' || option[0] == 't';
    }
    const QString first = reading.earliest(given);
    const bool bound = given.indexOf(first) < bounds;
    const std::string_view usage(kUsage);
    line = misuse(
        QStringLiteral("%1 goes with %2")
            .arg(first, bound ? QStringLiteral("--export-history") : QStringLiteral("--quote")),
        QString::fromLatin1(usage.substr(0, usage.find("\n\n") + 1)));
  }
  line.login = reading.has("login");
  return line;
}

}  // namespace tempodial
