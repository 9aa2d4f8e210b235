// The borderless splash window `Splash` (form 0): the program's picture for
// about a second at start-up; its load makes sure the data directory exists.
#pragma once

#include <cstdint>

#include "platform/form.h"

class QLabel;

namespace tempodial {

class FormTimer;

// The start-up counter shared by the splash timer and the main window's Timer3.
inline std::int16_t startcount = 0;

class SplashWindow : public Form {
  Q_OBJECT
 public:
  static constexpr const char* kName = "Splash";
  static constexpr int kIndex = 0;
  explicit SplashWindow(Runtime& runtime);
  void onLoad() override;
  // Problem creating the data directory, or empty; the main window reports it.
  QString folderProblem;
  QLabel* picture;
  FormTimer* Timer1;
};

}  // namespace tempodial
