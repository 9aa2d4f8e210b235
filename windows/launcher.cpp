#include "windows/launcher.h"

#include "platform/runtime.h"

namespace tempodial {

void launchProgram(Runtime&, int) {}

}  // namespace tempodial
