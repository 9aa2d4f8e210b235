// Views and controls as assistive technology should see them. Qt's own
// interfaces report a view's cells, entries or tabs as on screen whatever
// the view's state (a table on a hidden page, the entries of a closed
// pop-up, the header sections scrolled out of view), a current cell or tab
// as focused wherever the focus is, and a control scrolled out of its area
// as on screen. The interfaces made here wrap Qt's and correct those states.
#pragma once

class QAccessibleInterface;
class QObject;
class QWidget;

namespace tempodial {

// The interface for an item view (a table, a list) or a tab bar `object`, or
// null while Qt's own interface of it is being made (the one this wraps).
QAccessibleInterface* makeViewAccessible(QObject* object);

// The interface for a control inside a scrolled area, or null for any other
// object (and while Qt's own interface is being made).
QAccessibleInterface* makeScrolledAccessible(QObject* object);

// The interface for a list box that is not the program's own (a QComboBox):
// Qt's, named by the box's accessible name or its label, as other controls
// are, rather than by the entry it shows (that is its value). Null while
// Qt's own interface is being made.
QAccessibleInterface* makeNamedComboAccessible(QObject* object);

// True while a question or another modal window stands over the window of
// `control`: its clicks are held by the window system then, and so are the
// actions assistive technology asks of it.
bool heldByQuestion(const QWidget* control);

// The interface for a button, a check box or an option button: Qt's, but
// its actions are held while a question stands over its window. Null for
// any other object (and while Qt's own interface is being made).
QAccessibleInterface* makeButtonAccessible(QObject* object);

// The interface for a text box (a QLineEdit): Qt's, but while it masks what
// is typed its text is the masked text it shows. Null for any other object
// (and while Qt's own interface is being made).
QAccessibleInterface* makeMaskedTextAccessible(QObject* object);

}  // namespace tempodial
