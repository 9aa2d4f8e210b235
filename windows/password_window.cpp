#include "windows/password_window.h"

#include "platform/runtime.h"

namespace tempodial {

PasswordWindow::PasswordWindow(Runtime& runtime) : Form(runtime, QString::fromLatin1(kName), kIndex) {}

}  // namespace tempodial
