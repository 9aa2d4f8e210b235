#include "windows/history/period_bar.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <tuple>

namespace tempodial {

QPushButton* historyButton(QWidget* parent, const char* name, const QString& caption,
                           const QString& accessible) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAccessibleName(accessible.isEmpty() ? QString(caption).remove(QLatin1Char('&'))
                                            : accessible);
  return b;
}

PeriodBar::PeriodBar(QWidget* area, QWidget* window) : QObject(window) {
  previous = historyButton(area, "previous", QStringLiteral("\u25C0"), QStringLiteral("Previous"));
  period = new QDateEdit(area);
  period->setObjectName(QStringLiteral("period"));
  period->setAccessibleName(QStringLiteral("Month"));
  period->setDisplayFormat(QStringLiteral("MMMM yyyy"));
  period->setCalendarPopup(true);
  periodDays = new QLabel(area);
  periodDays->setObjectName(QStringLiteral("periodDays"));
  next = historyButton(area, "next", QStringLiteral("\u25B6"), QStringLiteral("Next"));
  for (QPushButton* arrow : {previous, next}) {
    arrow->setMaximumWidth(arrow->fontMetrics().horizontalAdvance(QStringLiteral("M")) * 3);
  }
  row_ = new QHBoxLayout;
  row_->addWidget(previous);
  row_->addWidget(period);
  row_->addWidget(next);
  row_->addWidget(periodDays);
  periodDays->hide();
  row_->addStretch(1);

  // Back and forward, also from anywhere in the window as in a browser.
  for (auto [arrow, key, by] : {std::tuple{previous, Qt::Key_Left, -1}, {next, Qt::Key_Right, 1}}) {
    connect(arrow, &QPushButton::clicked, this, [this, by] { Q_EMIT stepped(by); });
    const QKeySequence keys(Qt::ALT | key);
    connect(new QShortcut(keys, window), &QShortcut::activated, this,
            [this, by] { Q_EMIT stepped(by); });
    arrow->setToolTip(QStringLiteral("%1 (%2)").arg(arrow->accessibleName(),
                                                    keys.toString(QKeySequence::NativeText)));
  }
  connect(period, &QDateEdit::dateChanged, this, &PeriodBar::dateChosen);
}

void PeriodBar::setYearView(bool year) {
  period->setDisplayFormat(year ? QStringLiteral("yyyy") : QStringLiteral("MMMM yyyy"));
  period->setAccessibleName(year ? QStringLiteral("Year") : QStringLiteral("Month"));
}

}  // namespace tempodial
