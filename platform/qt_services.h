// The services performed on Qt for the real program.
#pragma once

#include "platform/services.h"

namespace tempodial {

class QtServices : public Services {
 public:
  void message(const QString& prompt) override;
  void showModal(Form& form) override;
  void beep() override;
  Status startProgram(const QString& program, const QStringList& arguments) override;
  void endProgram() override;
};

}  // namespace tempodial
