// The captions a window shows, where each is drawn and how: what the contrast
// and clipping checks measure. Also a tour that shows every window of the
// program in turn, each page and state that shows other captions.
#pragma once

#include <QRect>
#include <QString>
#include <functional>
#include <vector>

class QWidget;

namespace tempodial {

class Runtime;

struct Caption {
  QWidget* control;
  QString text;  // as shown, without access-key marks
  QRect rect;    // where the style draws it, in the control's coordinates
  int flags;     // Qt::AlignmentFlag and Qt::TextFlag, as it is drawn
};

// Every caption of the visible, enabled controls of `window` that lie in view.
std::vector<Caption> captionsOf(QWidget* window);

// Shows each window of the program, and each state of a window that shows
// other captions, and calls `look` with it and a name for it
// ("timer cost shown", "Options page 2", ...).
void tourWindows(Runtime& runtime, const std::function<void(QWidget&, const QString&)>& look);

}  // namespace tempodial
