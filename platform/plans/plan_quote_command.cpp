#include "platform/plans/plan_quote_command.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QString>
#include <cstdio>
#include <cstring>

#include "core/plans/plan_quote.h"
#include "core/volume/data_volume.h"
#include "platform/plans/plan_store.h"

namespace tempodial {
namespace {

int fail(const QString& message) {
  std::fprintf(stderr, "tempodial: %s\n", message.toLocal8Bit().constData());
  return 1;
}

}  // namespace

bool asksForQuote(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--quote") == 0) return true;
  }
  return false;
}

int printQuote(int argc, char* argv[]) {
  QStringList words;
  QString planName;
  std::int64_t bytes = 0;
  for (int i = 1; i < argc; ++i) {
    const QString arg = QString::fromLocal8Bit(argv[i]);
    if (arg == QLatin1String("--quote")) continue;
    if (arg == QLatin1String("--plan")) {
      if (++i >= argc) return fail(QStringLiteral("--plan needs the name of a plan"));
      planName = QString::fromLocal8Bit(argv[i]);
    } else if (arg == QLatin1String("--data")) {
      const auto megabytes = ++i < argc ? parseMegabytes(argv[i]) : std::nullopt;
      if (!megabytes) {
        return fail(QStringLiteral("--data needs a number of MB like 250 or 12.5"));
      }
      bytes = *megabytes;
    } else {
      words << arg;
    }
  }
  if (words.size() != 2) {
    return fail(QStringLiteral(
        "usage: tempodial --quote YYYY-MM-DDTHH:MM[:SS] h:mm:ss [--plan NAME] [--data MB]"));
  }
  // To the minute, or to the second where a run's own start is quoted.
  static const QRegularExpression kStart(
      QStringLiteral("^\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}(:\\d{2})?$"));
  const QDateTime start =
      QDateTime::fromString(words[0], words[0].size() > 16 ? QStringLiteral("yyyy-MM-ddTHH:mm:ss")
                                                           : QStringLiteral("yyyy-MM-ddTHH:mm"));
  if (!kStart.match(words[0]).hasMatch() || !start.isValid()) {
    return fail(QStringLiteral("\"%1\" is not a start time like 2026-12-07T17:50").arg(words[0]));
  }
  const auto seconds = plans::parseDuration(words[1].toStdString());
  if (!seconds) return fail(QStringLiteral("\"%1\" is not a length like 1:00:00").arg(words[1]));
  if (planName.isEmpty()) planName = planInUse();
  if (planName.isEmpty()) {
    return fail(QStringLiteral("no tariff plan is in use; name one with --plan NAME"));
  }
  QString error;
  auto plan = findPlan(planName, &error);
  if (!plan) return fail(error);
  plans::PlanRun run(std::move(*plan), start.toSecsSinceEpoch(), localClock());
  run.countTo(*seconds);
  run.countVolume(bytes);
  std::fputs(plans::quoteText(run).c_str(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace tempodial
