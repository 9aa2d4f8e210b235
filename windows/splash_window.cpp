#include "windows/splash_window.h"

#include "platform/runtime.h"

namespace tempodial {

SplashWindow::SplashWindow(Runtime& runtime) : Form(runtime, QString::fromLatin1(kName), kIndex) {}

void SplashWindow::onLoad() {}

}  // namespace tempodial
