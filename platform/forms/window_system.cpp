#include "platform/forms/window_system.h"

#include <QGuiApplication>

// Last: Xlib's macros (None, Status, CursorShape...) must not meet Qt's headers.
#include <X11/Xlib.h>

namespace tempodial {

void flushWindowSystem() {
  // The offscreen platform answers as X11 too, but without a display.
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (Display* display = x11 != nullptr ? x11->display() : nullptr) XFlush(display);
}

}  // namespace tempodial
