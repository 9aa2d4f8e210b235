// The History window's tables: read-only views of rows of text, and the
// words and times their cells show.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "core/history/session.h"

class QDate;
class QDateTime;
class QAbstractItemModel;
class QStandardItem;
class QTableView;
class QWidget;

namespace tempodial {

// Sizes the rows and headers of `table` from its font, now and whenever its
// font changes (a window takes the desktop's font after it is built).
void followFont(QTableView* table);

// A table of whole rows, one chosen at a time, that nobody types into.
QTableView* historyTable(QWidget* parent, const char* name, const QString& accessible,
                         QAbstractItemModel* model);
// One row of cells; a totals row is bold.
QList<QStandardItem*> historyRow(const QStringList& texts, bool bold = false);

// How a session ended, in words: "stopped", "program ended", "interrupted",
// "running or cut short".
QString sessionEndWords(SessionEnd end);

// A moment at the session's own offset: the time, with the date when it is
// not `day`, the day the session started.
QString momentText(const QDateTime& utc, int offset, const QDate& day);

}  // namespace tempodial
