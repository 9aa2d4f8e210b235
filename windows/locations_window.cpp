#include "windows/locations_window.h"

#include "platform/runtime.h"

namespace tempodial {

LocationsWindow::LocationsWindow(Runtime& runtime) : Form(runtime, QString::fromLatin1(kName), kIndex) {}

void LocationsWindow::onLoad() {}

RichTextBox* LocationsWindow::box(int) const { return nullptr; }

}  // namespace tempodial
