#include "windows/short_time_exit_window.h"

#include "platform/runtime.h"

namespace tempodial {

ShortTimeExitWindow::ShortTimeExitWindow(Runtime& runtime) : Form(runtime, QString::fromLatin1(kName), kIndex) {}

void ShortTimeExitWindow::onLoad() {}

}  // namespace tempodial
