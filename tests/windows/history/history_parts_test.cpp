// The History window's parts alone: the totals table a month or a year
// fills, and the period bar's steps and names.
#include <gtest/gtest.h>

#include <QVBoxLayout>

#include <QDateEdit>
#include <QPushButton>
#include <QShortcut>
#include <vector>

#include "windows/history/period_bar.h"
#include "windows/history/totals_model.h"

namespace tempodial {
namespace {

PeriodTotal total(std::int64_t sessions, std::int64_t seconds, const char* currency,
                  const char* cost, std::int64_t received, std::int64_t sent,
                  std::int64_t unknown) {
  PeriodTotal total;
  total.sessions = sessions;
  total.seconds = seconds;
  total.cost.add(currency, Amount::fromText(cost));
  total.received = received;
  total.sent = sent;
  total.unknownBytes = unknown;
  return total;
}

QStringList row(const TotalsModel& model, int row) {
  QStringList texts;
  for (int column = 0; column < model.columnCount(); ++column) {
    texts << model.index(row, column).data().toString();
  }
  return texts;
}

TEST(HistoryParts, TotalsRowsAndTheirBoldSumStartAgainWithEachFill) {
  TotalsModel model(QStringLiteral("Month"), nullptr);
  QStringList headers;
  for (int column = 0; column < model.columnCount(); ++column) {
    headers << model.headerData(column, Qt::Horizontal).toString();
  }
  EXPECT_EQ(headers,
            (QStringList{"Month", "Sessions", "Time", "Cost", "Received", "Sent", "Data"}));
  // The second fill, as a refresh makes it, sums its own rows alone.
  for (int fill = 0; fill < 2; ++fill) {
    model.clearTotals();
    model.addPeriod("January", total(2, 3909, "£", "1.5", 1500, 600, 0), QDate(2026, 1, 1));
    model.addPeriod("February", total(1, 60, "Fr", "3", 0, 0, 1));
    model.addSum("Total 2026");
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(row(model, 0),
              (QStringList{"January", "2", "1:05:09", "£1.5", "1.5 kB", "600 B", "2.1 kB"}));
    EXPECT_EQ(row(model, 1), (QStringList{"February", "1", "0:01:00", "Fr 3", "", "", ""}));
    EXPECT_EQ(row(model, 2), (QStringList{"Total 2026", "3", "1:06:09", "£1.5 + Fr 3",
                                          "\u2265 1.5 kB", "\u2265 600 B", "\u2265 2.1 kB"}));
    EXPECT_EQ(model.item(0, 0)->data().toDate(), QDate(2026, 1, 1));
    EXPECT_FALSE(model.item(1, 0)->data().isValid());
    EXPECT_FALSE(model.item(1, 3)->font().bold());
    EXPECT_TRUE(model.item(2, 3)->font().bold());
  }
}

TEST(HistoryParts, PeriodBarStepsByButtonAndKeyAndNamesTheMonthOrTheYear) {
  QWidget window;
  PeriodBar bar(&window, &window);
  // The window's layout takes the bar's row, as History's does.
  (new QVBoxLayout(&window))->addLayout(bar.row());
  std::vector<int> steps;
  QObject::connect(&bar, &PeriodBar::stepped, &bar, [&steps](int by) { steps.push_back(by); });
  bar.previous->click();
  bar.next->click();
  QStringList keys;
  for (QShortcut* shortcut : window.findChildren<QShortcut*>()) {
    keys << shortcut->key().toString();
    Q_EMIT shortcut->activated();
  }
  EXPECT_EQ(steps, (std::vector<int>{-1, 1, -1, 1}));
  EXPECT_EQ(keys, (QStringList{"Alt+Left", "Alt+Right"}));
  EXPECT_EQ(bar.previous->toolTip(), "Previous (Alt+Left)");
  EXPECT_EQ(bar.next->toolTip(), "Next (Alt+Right)");

  QDate chosen;
  QObject::connect(&bar, &PeriodBar::dateChosen, &bar,
                   [&chosen](const QDate& date) { chosen = date; });
  bar.period->setDate(QDate(2025, 3, 1));
  EXPECT_EQ(chosen, QDate(2025, 3, 1));
  for (bool year : {true, false}) {
    bar.setYearView(year);
    EXPECT_EQ(bar.period->displayFormat(), year ? "yyyy" : "MMMM yyyy");
    EXPECT_EQ(bar.period->accessibleName(), year ? "Year" : "Month");
  }
}

}  // namespace
}  // namespace tempodial
