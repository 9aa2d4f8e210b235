#include "windows/start_and_exit/splash_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include "platform/clock/clock_model.h"
#include "platform/files/file_service.h"
#include "platform/files/save_unit.h"
#include "platform/forms/form_timer.h"
#include "platform/forms/picture_box.h"
#include "platform/forms/twips.h"
#include "platform/runtime/runtime.h"
#include "platform/session/clock_session.h"
#include "windows/artwork/artwork.h"
#include "windows/desktop/desktop_extras.h"
#include "windows/journal/restore_window.h"
#include "windows/start_and_exit/session_start.h"

namespace tempodial {
namespace {

constexpr int kWidthTwips = 5745;
constexpr int kHeightTwips = 4305;

}  // namespace

SplashWindow::SplashWindow(Runtime& runtime, ClockSession& session)
    : Form(runtime, QString::fromLatin1(kName), kIndex), session_(session) {
  setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
  setWindowTitle(QStringLiteral("Tempodial"));
  setFramed(false);
  setSizeTwips(kWidthTwips, kHeightTwips);

  picture = new PictureBox(client(), QStringLiteral("picture"), QStringLiteral("Tempodial"));
  // Drawn at its own size: scaling it for the one-pixel difference would
  // cost a smooth rescale before the first paint.
  picture->setImage(splashImage(devicePixelRatioF()));
  placeTwips(picture, 0, 0, kWidthTwips, kHeightTwips);

  Timer1 = new FormTimer(this, QStringLiteral("Timer1"), 1000, false);
  Timer1->onTick = [this] { tick(); };

  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

void SplashWindow::onLoad() {
  startcount = 0;
  Timer1->setEnabled(true);
  // Loaded again while the program runs (the About window borrows the
  // picture): the main window's Timer3 keeps startcount at 1 from its next
  // tick on. It is armed after this window's timer, so this window's tick
  // comes first.
  Form* main = runtime().loadedForm(QString::fromLatin1(kMainWindowName));
  if (main != nullptr) {
    if (auto* timer3 = main->findChild<FormTimer*>(QStringLiteral("Timer3"))) timer3->arm();
  }
  programStart_ = main == nullptr;
  makeDataDirectory();
  // What the program does once per start, never while it runs.
  if (programStart_) recoverInterruptedSaves(runtime().places());
}

void SplashWindow::makeDataDirectory() {
  const QString folder = runtime().places().folder(Place::Data);
  if (folderExists(folder)) return;
  Status status = makeFolder(folder);
  if (status.ok()) return;
  // The hand-over waits while the user reads this: a tick during the message
  // would unload this window under the running handler.
  Timer1->setEnabled(false);
  runtime().message(QStringLiteral("Could not create the folder %1: %2")
                        .arg(folder, QString::fromStdString(status.reason())));
  Timer1->setEnabled(true);
}

void SplashWindow::tick() {
  startcount += 1;
  if (startcount != 1) return;
  Runtime& rt = runtime();
  const bool programStart = programStart_;
  // The picture has been on the screen for a second: its pages are not
  // needed while the main window is built.
  releaseSplashPixels(picture->image());
  // Started at login, the session runs behind the status icon where there
  // is one, and the main window is built only when the user asks for it.
  const bool atLogin = startedAtLogin();
  if (atLogin) startSession(rt, session_);
  ClockModel& clock = session_.clock();
  if (!atLogin || !waitsBehindStatusIcon(clock)) {
    rt.form(QString::fromLatin1(kMainWindowName)).show();
  }
  hide();
  rt.unload(formName());
  // Once the session stands at the program's start, a run that was cut
  // short is offered back.
  if (programStart) QTimer::singleShot(0, &clock, [&rt, &clock] { offerRestore(rt, clock); });
}

}  // namespace tempodial
