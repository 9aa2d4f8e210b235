// A program run for the cost meter, the Options window and the tariff files:
// the start-up as the program does it, a restart over the same folder, and the
// user's choices from the two lists.
#pragma once

#include "platform/forms/controls.h"
#include "platform/forms/form_timer.h"
#include "tests/windows/window_fixture.h"
#include "windows/cost/options_window.h"
#include "windows/main/forms.h"
#include "windows/main/main_window.h"

namespace tempodial {

class CostTest : public WindowTest {
 protected:
  // Ends this run and starts the program again over the same files.
  void restart() {
    remake();
    startMain();
  }

  // The user chooses the tariff list's entry at `index`.
  void chooseTariff(int index) {
    options().Combo1->setCurrentIndex(index);
    Q_EMIT options().Combo1->activated(index);
  }
  void chooseCurrency(int index) {
    options().Combo2->setCurrentIndex(index);
    Q_EMIT options().Combo2->activated(index);
  }

  QStringList tariffEntries() {
    QStringList entries;
    for (int i = 0; i < options().Combo1->count(); ++i) entries << options().Combo1->itemText(i);
    return entries;
  }

  // A minute of the clock, charged at the rate in use.
  QString costAfterMinute() {
    session->tick().setEnabled(true);
    tick(60);
    return session->clock().cost();
  }
};

}  // namespace tempodial
