// Tables as assistive technology should see them. Qt's own interface of a
// table reports the table as on screen and its current cell as focused
// whatever the table's state; the interface made here wraps Qt's and corrects
// those two states.
#pragma once

class QAccessibleInterface;
class QObject;

namespace tempodial {

// The interface for the table view `object`, or null while Qt's own
// interface of it is being made (the one this wraps).
QAccessibleInterface* makeTableAccessible(QObject* object);

}  // namespace tempodial
