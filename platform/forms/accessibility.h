// How the windows and the status panel present themselves to assistive
// technology (AT-SPI on Linux): each window as a frame or a dialog named by its
// caption and described by its question, the status panel as a status bar
// whose new messages are announced.
#pragma once

namespace tempodial {

// Installs the program's accessible interfaces; safe to call more than once.
void installAccessibility();

}  // namespace tempodial
