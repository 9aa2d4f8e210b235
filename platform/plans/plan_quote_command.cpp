#include "platform/plans/plan_quote_command.h"

#include <QDate>
#include <QRegularExpression>
#include <QString>
#include <QTimeZone>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

#include "core/history/history.h"
#include "core/plans/plan_quote.h"
#include "core/values/terminal_text.h"
#include "core/volume/data_volume.h"
#include "platform/files/places.h"
#include "platform/files/settings_file.h"
#include "platform/journal/history_store.h"
#include "platform/journal/journal_reading.h"
#include "platform/plans/plan_store.h"

namespace tempodial {
namespace {

// Written whole, whatever it holds; a name or a path in it never moves the
// terminal's cursor.
void say(std::FILE* err, const QString& message) {
  const QByteArray line = QStringLiteral("tempodial: %1\n")
                              .arg(QString::fromStdString(terminalText(message.toStdString())))
                              .toLocal8Bit();
  std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), err);
  std::fflush(err);
}

// Writes `text` whole; false with errno set when it cannot. A reader that
// has gone is an error to report, not a signal that ends the program.
bool writeAll(std::FILE* out, const std::string& text) {
  struct sigaction ignore {};
  struct sigaction old {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  ::sigaction(SIGPIPE, &ignore, &old);
  errno = 0;
  const bool written =
      std::fwrite(text.data(), 1, text.size(), out) == text.size() && std::fflush(out) == 0;
  const int error = errno;
  ::sigaction(SIGPIPE, &old, nullptr);
  errno = error;
  return written;
}

// What the recorded sessions used of the billing month holding `day`: none
// where there is no journal yet. A journal that cannot be read is told, and
// counts as nothing used.
std::int64_t recordedMonthBytes(const CivilDate& day, std::FILE* err) {
  std::int64_t bytes = 0;
  const QString path = journalPath(Places::fromEnvironment().root());
  const Status read = readJournal(path, [&](const QSqlDatabase& db) {
    auto usage = HistoryStore(db).usage(day, QString(), 0, loadBillingDay());
    if (usage.ok()) bytes = usage.value().monthBytes;
    return usage.status();
  });
  if (!read.ok() && read.kind() != StatusKind::NotFound) {
    say(err, QStringLiteral("cannot read the session journal %1: %2; the quote takes no MB as "
                            "used this month (--used MB gives them)")
                 .arg(path, QString::fromStdString(read.reason())));
  }
  return bytes;
}

}  // namespace

int printQuote(const QuoteRequest& request, std::FILE* out, std::FILE* err) {
  const auto fail = [err](const QString& message) {
    say(err, message);
    return 1;
  };
  const QStringList words{request.start, request.duration};
  QString planName = request.plan;
  const std::int64_t bytes = request.dataBytes;
  // To the minute, or to the second where a run's own start is quoted; an
  // offset chooses between the two occurrences of a time the clocks repeat.
  static const QRegularExpression kStart(QStringLiteral(
      "^(\\d{4})-(\\d{2})-(\\d{2})T(\\d{2}):(\\d{2})(?::(\\d{2}))?(Z|([+-])(\\d{2}):(\\d{2}))?$"));
  const auto start = kStart.match(words[0]);
  const auto part = [&start](int n) { return start.captured(n).toInt(); };
  const QDate date(part(1), part(2), part(3));
  if (!start.hasMatch() || !date.isValid() || part(4) > 23 || part(5) > 59 || part(6) > 59 ||
      part(9) > 14 || part(10) > 59) {
    return fail(QStringLiteral("\"%1\" is not a start time like 2026-12-07T17:50 or "
                               "2026-10-25T01:30+01:00")
                    .arg(words[0]));
  }
  const auto seconds = plans::parseDuration(words[1].toStdString());
  if (!seconds) {
    return fail(
        QStringLiteral("\"%1\" is not a length like 1:00:00 (at most 999:59:59)").arg(words[1]));
  }
  const plans::LocalClock clock = localClock();
  const int day = part(1) * 10000 + part(2) * 100 + part(3);
  const int time = part(4) * 3600 + part(5) * 60 + part(6);
  const std::vector<std::int64_t> moments = plans::momentsOf(clock, day, time);
  const QString zone = QString::fromUtf8(QTimeZone::systemTimeZoneId());
  if (moments.empty()) {
    return fail(QStringLiteral("%1 does not exist in %2 (clocks go forward)").arg(words[0], zone));
  }
  std::int64_t startUtc = moments.front();
  if (start.hasCaptured(7)) {
    const int east =
        (part(9) * 3600 + part(10) * 60) * (start.captured(8) == QLatin1String("-") ? -1 : 1);
    startUtc = daysFromCivil({part(1), part(2), part(3)}) + time - east;
    if (std::find(moments.begin(), moments.end(), startUtc) == moments.end()) {
      return fail(QStringLiteral("%1 is not a time in %2: its offset there is not %3")
                      .arg(words[0], zone, start.captured(7)));
    }
  }
  if (planName.isEmpty()) planName = planInUse();
  if (planName.isEmpty()) {
    return fail(QStringLiteral("no tariff plan is in use; name one with --plan NAME"));
  }
  auto plan = findPlan(planName);
  if (!plan.ok()) return fail(QString::fromStdString(plan.reason()));
  if (auto outside = plans::outsideValidity(plan.value(), clock(startUtc))) {
    return fail(QStringLiteral("the tariff plan \"%1\" %2")
                    .arg(planName, QString::fromStdString(*outside)));
  }
  plans::PlanRun run(std::move(plan.value()), startUtc, clock);
  // The volume is counted at the start, within the billing month it begins.
  if (run.plan().allowanceBytes) {
    run.setAllowance(request.usedBytes ? *request.usedBytes
                                       : recordedMonthBytes({part(1), part(2), part(3)}, err),
                     {});
  }
  run.countVolume(bytes);
  run.countTo(*seconds);
  if (!writeAll(out, terminalText(plans::quoteText(run)))) {
    return fail(QStringLiteral("cannot write the quote: %1")
                    .arg(QString::fromLocal8Bit(std::strerror(errno != 0 ? errno : EIO))));
  }
  return 0;
}

}  // namespace tempodial
