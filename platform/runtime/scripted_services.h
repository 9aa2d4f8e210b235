// Services for tests: every message, modal window, beep, program start and end
// of the program is recorded instead of performed, and modal windows are
// answered by the test's script.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "platform/runtime/services.h"

namespace tempodial {

class ScriptedServices : public Services {
 public:
  struct Start {
    QString program;
    QStringList arguments;
  };

  void message(const QString& prompt) override;
  void notice(const QString& text) override { notices << text; }
  void showModal(Form& form) override;
  void beep() override { ++beeps; }
  Status startProgram(const QString& program, const QStringList& arguments) override;
  void endProgram() override { ++ends; }
  qint64 monotonicMs() override { return clockMs; }

  // The next modal window named `formName` is answered by `answer`, which
  // typically clicks one of its buttons. Answers are used in order.
  void answerModal(const QString& formName, std::function<void(Form&)> answer);
  // Runs when the next message box is shown, before it is dismissed.
  void onNextMessage(std::function<void(const QString&)> hook);

  QStringList messages;
  QStringList notices;
  QStringList modalsShown;
  std::vector<Start> starts;
  int beeps = 0;
  int ends = 0;
  // The monotonic clock; a test moves it forward by hand.
  qint64 clockMs = 0;
  // When true, programs are really started (detached, without a shell).
  bool performStarts = false;
  // Modal windows that were shown with no scripted answer.
  QStringList unanswered;

 private:
  struct Answer {
    QString formName;
    std::function<void(Form&)> answer;
  };
  std::deque<Answer> answers_;
  std::deque<std::function<void(const QString&)>> messageHooks_;
};

}  // namespace tempodial
