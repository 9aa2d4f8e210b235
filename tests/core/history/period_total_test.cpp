// A period's total: summed from its parts field by field, and its bytes as
// the history's tables write them, blank or partial when runs kept before
// bytes were counted are in it.
#include "core/history/period_total.h"

#include <gtest/gtest.h>

namespace tempodial {
namespace {

PeriodTotal part(std::int64_t sessions, std::int64_t seconds, const char* currency,
                 const char* cost, std::int64_t received, std::int64_t sent, std::int64_t unknown) {
  PeriodTotal total;
  total.date = {2026, 3, 9};
  total.sessions = sessions;
  total.seconds = seconds;
  total.cost.add(currency, Amount::fromText(cost));
  total.received = received;
  total.sent = sent;
  total.unknownBytes = unknown;
  return total;
}

TEST(PeriodTotals, AddEveryFieldKeepTheirDateAndCurrenciesApart) {
  PeriodTotal month;
  month.date = {2026, 3, 1};
  month.add(part(2, 600, "£", "1.25", 1000, 10, 0));
  month.add(part(1, 59, "Fr", "3", 0, 0, 1));
  month.add(part(3, 1, "£", "0.5", 24, 5, 2));
  EXPECT_EQ(month.date, (CivilDate{2026, 3, 1}));
  EXPECT_EQ(month.sessions, 6);
  EXPECT_EQ(month.seconds, 660);
  EXPECT_EQ(month.cost.text(), "£1.75 + Fr 3");
  EXPECT_EQ(month.received, 1024);
  EXPECT_EQ(month.sent, 15);
  EXPECT_EQ(month.unknownBytes, 3);
}

TEST(PeriodTotals, BytesAreBlankWhenNoneAreKnownAndPartialWhenSomeAreNot) {
  const struct {
    std::int64_t sessions, received, sent, unknown;
    std::array<std::string, 3> shown;
  } rows[] = {
      {0, 0, 0, 0, {"0 B", "0 B", "0 B"}},  // no sessions: nothing used
      {2, 1500, 600, 0, {"1.5 kB", "600 B", "2.1 kB"}},
      {3, 1500, 600, 1, {"\u2265 1.5 kB", "\u2265 600 B", "\u2265 2.1 kB"}},
      {3, 0, 0, 2, {"\u2265 0 B", "\u2265 0 B", "\u2265 0 B"}},
      {3, 0, 0, 3, {"", "", ""}},  // none known: never 0
  };
  for (const auto& row : rows) {
    PeriodTotal total;
    total.sessions = row.sessions;
    total.received = row.received;
    total.sent = row.sent;
    total.unknownBytes = row.unknown;
    EXPECT_EQ(periodVolumeTexts(total), row.shown)
        << row.sessions << " sessions, " << row.unknown << " unknown";
  }
}

}  // namespace
}  // namespace tempodial
