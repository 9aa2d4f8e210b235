// How the controls that Qt's own interfaces present wrongly appear to
// assistive technology: the pressed-in 3-D button (Start/Stop) as a button
// that is pressed while on and whose action clicks it, the currency panel
// with its pop-up menu as an action, and the editable lists with their
// entries, readable and choosable. Views and scrolled controls are wrapped
// as platform/forms/accessible_views.h says.
#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace tempodial {

// The interface for a control of the program, or null where Qt's own serves.
QAccessibleInterface* makeControlAccessible(const QString& className, QObject* object);

}  // namespace tempodial
