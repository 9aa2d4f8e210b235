// The twelve windows of the program, registered by name and form index.
#pragma once

namespace tempodial {

class Runtime;

// Registers every window with the runtime; each is created on first reference.
void registerForms(Runtime& runtime);

}  // namespace tempodial
