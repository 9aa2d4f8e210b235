#include "platform/session/clock_session.h"

#include <QPointer>

#include "platform/clock/clock_model.h"
#include "platform/forms/form_timer.h"
#include "platform/runtime/runtime.h"
#include "platform/session/session_recorder.h"

namespace tempodial {

ClockSession::ClockSession(Runtime& runtime)
    : runtime_(runtime),
      clock_(std::make_unique<ClockModel>([&runtime] { return runtime.services().monotonicMs(); })),
      tick_(new FormTimer(this, QStringLiteral("Timer1"), 1000, false)),
      recorder_(std::make_unique<SessionRecorder>(runtime, *clock_, nullptr)) {
  tick_->onTick = [this] { clock_->catchUp(); };
  connect(clock_.get(), &ClockModel::runningChanged, tick_,
          [this](bool running) { tick_->setEnabled(running); });
  runtime.setBeforeEnd([recorder = QPointer<SessionRecorder>(recorder_.get())] {
    if (recorder) recorder->programEnds();
  });
}

ClockSession::~ClockSession() = default;

void ClockSession::endForSystem() {
  clock_->catchUpAtEnd();
  recorder_->interrupted();
  runtime_.endProgram();
}

}  // namespace tempodial
