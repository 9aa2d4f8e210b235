#include "platform/runtime/scripted_services.h"

#include "platform/forms/form.h"
#include "platform/runtime/qt_services.h"

namespace tempodial {

void ScriptedServices::message(const QString& prompt) {
  messages << prompt;
  if (!messageHooks_.empty()) {
    auto hook = std::move(messageHooks_.front());
    messageHooks_.pop_front();
    hook(prompt);
  }
}

void ScriptedServices::showModal(Form& form) {
  const QString name = form.formName();
  modalsShown << name;
  form.show();
  for (auto it = answers_.begin(); it != answers_.end(); ++it) {
    if (it->formName == name) {
      auto answer = std::move(it->answer);
      answers_.erase(it);
      answer(form);
      return;
    }
  }
  unanswered << name;
}

Status ScriptedServices::startProgram(const QString& program, const QStringList& arguments) {
  if (performStarts) {
    Status status = QtServices().startProgram(program, arguments);
    if (status.ok()) starts.push_back({program, arguments});
    return status;
  }
  if (findProgram(program).isEmpty()) return Status::Error("No such program");
  starts.push_back({program, arguments});
  return Status::Ok();
}

void ScriptedServices::answerModal(const QString& formName, std::function<void(Form&)> answer) {
  answers_.push_back({formName, std::move(answer)});
}

void ScriptedServices::onNextMessage(std::function<void(const QString&)> hook) {
  messageHooks_.push_back(std::move(hook));
}

}  // namespace tempodial
