// Requests to the window system that Qt would otherwise send a little later.
#pragma once

namespace tempodial {

// Sends at once whatever the program has asked of the window system. On X11
// Qt writes a window title in two requests and leaves the second in Xlib's
// buffer until its next turn of the event loop; sent together, the window
// manager answers both at once, and its answers wake the program once rather
// than twice. Elsewhere (Wayland, the offscreen platform) it does nothing.
void flushWindowSystem();

}  // namespace tempodial
