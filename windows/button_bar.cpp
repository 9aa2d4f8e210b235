#include "windows/button_bar.h"

#include "platform/runtime.h"

namespace tempodial {

ButtonBar::ButtonBar(Runtime& runtime) : Form(runtime, QString::fromLatin1(kName), kIndex) {}

void ButtonBar::onUnload() {}

ButtonBar::~ButtonBar() = default;

}  // namespace tempodial
