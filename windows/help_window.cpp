#include "windows/help_window.h"

#include "platform/runtime.h"

namespace tempodial {

HelpWindow::HelpWindow(Runtime& runtime) : Form(runtime, QString::fromLatin1(kName), kIndex) {}

}  // namespace tempodial
