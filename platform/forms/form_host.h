// What a window asks of the runtime that loaded it: to be unloaded when the
// user closes it, and to have its showing and hiding told to the runtime's
// watchers. The forms runtime (platform/runtime/runtime.h) is the host; the
// forms know it by this much only, so that the runtime is built on the forms
// and not the other way round.
#pragma once

#include <QString>

namespace tempodial {

class Form;
class Runtime;

class FormHost {
 public:
  virtual ~FormHost() = default;

  // The runtime itself, as the windows' handlers use it.
  virtual Runtime& runtime() = 0;
  // The window `name` is closed by the user.
  virtual void unload(const QString& name) = 0;
  // The program has shown or hidden `form`.
  virtual void visibilityChanged(Form& form) = 0;
};

}  // namespace tempodial
