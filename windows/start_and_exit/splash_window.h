// The borderless splash window `Splash` (form 0): the program's picture for
// about a second at start-up; its load makes sure the data directory exists.
#pragma once

#include <cstdint>

#include "platform/forms/form.h"

namespace tempodial {

class FormTimer;
class PictureBox;

// The start-up counter shared by the splash timer and the main window's Timer3.
inline std::int16_t startcount = 0;

class ClockSession;

class SplashWindow : public Form {
  Q_OBJECT
 public:
  static constexpr const char* kName = "Splash";
  static constexpr int kIndex = 0;
  SplashWindow(Runtime& runtime, ClockSession& session);

  // Resets the start-up counter, starts the hand-over timer and creates the
  // data directory when it is missing.
  void onLoad() override;
  // The hand-over: at the first tick after the counter was reset, shows the
  // main window and unloads the splash window.
  void tick();

  PictureBox* picture;
  FormTimer* Timer1;

 protected:
  // The splash window has no title bar; a close from the window manager
  // would leave the program with no window at all.
  void onCloseRequested() override {}

 private:
  void makeDataDirectory();

  ClockSession& session_;
  // Loaded at the program's start rather than again while it runs.
  bool programStart_ = false;
};

}  // namespace tempodial
