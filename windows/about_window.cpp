#include "windows/about_window.h"

#include "platform/runtime.h"

namespace tempodial {

AboutWindow::AboutWindow(Runtime& runtime) : Form(runtime, QString::fromLatin1(kName), kIndex) {}

void AboutWindow::onLoad() {}

}  // namespace tempodial
