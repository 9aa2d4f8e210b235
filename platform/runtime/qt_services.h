// The services performed on Qt for the real program.
#pragma once

#include "platform/runtime/services.h"

namespace tempodial {

// The executable a stored program name stands for: an absolute path as it is,
// a bare name looked up in PATH. Empty when there is no such executable file,
// and for a relative path with a "/" ("bin/netscape", "./x").
QString findProgram(const QString& program);

class QtServices : public Services {
 public:
  void message(const QString& prompt) override;
  void notice(const QString& text) override;
  void showModal(Form& form) override;
  void beep() override;
  Status startProgram(const QString& program, const QStringList& arguments) override;
  void endProgram() override;
  qint64 monotonicMs() override;
};

}  // namespace tempodial
