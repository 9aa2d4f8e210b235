#include "windows/options_window.h"

#include "platform/runtime.h"

namespace tempodial {

OptionsWindow::OptionsWindow(Runtime& runtime) : Form(runtime, QString::fromLatin1(kName), kIndex) {}

void OptionsWindow::onLoad() {}

void OptionsWindow::restoreTariffsAndCurrency() {}

}  // namespace tempodial
