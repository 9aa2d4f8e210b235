// The runtime's services that wait for a person or leave the process, and the
// clock the usage clock counts by. The windows reach them only through this interface: QtServices
// performs them, ScriptedServices (for tests) records them and answers from a script.
#pragma once

#include <QString>
#include <QStringList>

#include "core/values/status.h"

namespace tempodial {

class Form;

class Services {
 public:
  virtual ~Services() = default;

  // Shows `prompt` with one OK button and the title "Tempodial"; returns when
  // the user has dismissed it.
  virtual void message(const QString& prompt) = 0;

  // Shows `text` with one OK button and the title "Tempodial", and returns
  // at once: nothing waits for it, and the clock, the windows and the
  // commands from outside go on while it stands.
  virtual void notice(const QString& text) = 0;

  // Shows `form` modally; returns when it is hidden or unloaded. Timers keep
  // running meanwhile.
  virtual void showModal(Form& form) = 0;

  virtual void beep() = 0;

  // Starts `program` with `arguments` directly (never through a shell) in a
  // normal, focused window; does not wait for it.
  virtual Status startProgram(const QString& program, const QStringList& arguments) = 0;

  // Ends the program at once: no further window handler runs.
  virtual void endProgram() = 0;

  // Milliseconds on a clock that only moves forward and stands still while
  // the computer is suspended: what the usage clock counts.
  virtual qint64 monotonicMs() = 0;
};

}  // namespace tempodial
