#include "windows/button_bar_question.h"

#include "platform/runtime.h"

namespace tempodial {

ButtonBarQuestion::ButtonBarQuestion(Runtime& runtime) : Form(runtime, QString::fromLatin1(kName), kIndex) {}

}  // namespace tempodial
