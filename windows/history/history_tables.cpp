#include "windows/history/history_tables.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QEvent>
#include <QHeaderView>
#include <QLocale>
#include <QStandardItemModel>
#include <QTableView>

namespace tempodial {
namespace {

// Rows and headers sized from the table's font, again whenever the font
// changes (the window takes the desktop's font after it is built, and the
// desktop's font may change while it is open).
class FollowsFont : public QObject {
 public:
  explicit FollowsFont(QTableView* view) : QObject(view), view_(view) {
    view->installEventFilter(this);
    apply();
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == view_ && event->type() == QEvent::FontChange) apply();
    return QObject::eventFilter(watched, event);
  }

 private:
  void apply() {
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    view_->horizontalHeader()->setFont(view_->font());
  }

  QTableView* view_;
};

}  // namespace

void followFont(QTableView* table) { new FollowsFont(table); }

QTableView* historyTable(QWidget* parent, const char* name, const QString& accessible,
                         QAbstractItemModel* model) {
  auto* view = new QTableView(parent);
  view->setObjectName(QString::fromLatin1(name));
  view->setAccessibleName(accessible);
  view->setModel(model);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->verticalHeader()->hide();
  followFont(view);
  view->horizontalHeader()->setStretchLastSection(true);
  // Fitting a column to its contents measures the first rows only: every row
  // of a table has the same shape, and a day can hold thousands of sessions.
  view->horizontalHeader()->setResizeContentsPrecision(32);
  view->verticalHeader()->setResizeContentsPrecision(32);
  // The corner button of the headers selects the whole table.
  for (QAbstractButton* corner : view->findChildren<QAbstractButton*>()) {
    corner->setAccessibleName(QStringLiteral("Select all"));
  }
  return view;
}

QList<QStandardItem*> historyRow(const QStringList& texts, bool bold) {
  QList<QStandardItem*> items;
  for (const QString& text : texts) {
    auto* item = new QStandardItem(text);
    if (bold) {
      QFont font = item->font();
      font.setBold(true);
      item->setFont(font);
    }
    items << item;
  }
  return items;
}

QString sessionEndWords(SessionEnd end) {
  switch (end) {
    case SessionEnd::Stopped:
      return QStringLiteral("stopped");
    case SessionEnd::Exit:
      return QStringLiteral("program ended");
    case SessionEnd::Interrupted:
      return QStringLiteral("interrupted");
    case SessionEnd::Open:
      break;
  }
  return QStringLiteral("running or cut short");
}

QString momentText(const QDateTime& utc, int offset, const QDate& day) {
  const QDateTime local = utc.toOffsetFromUtc(offset);
  const QLocale locale;
  const QString time = local.time().toString(QStringLiteral("HH:mm:ss"));
  if (local.date() == day) return time;
  return locale.toString(local.date(), QLocale::ShortFormat) + QLatin1Char(' ') + time;
}

}  // namespace tempodial
