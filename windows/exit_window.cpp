#include "windows/exit_window.h"

#include "platform/runtime.h"

namespace tempodial {

ExitWindow::ExitWindow(Runtime& runtime) : Form(runtime, QString::fromLatin1(kName), kIndex) {}

}  // namespace tempodial
