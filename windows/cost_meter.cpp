#include "windows/cost_meter.h"

#include "core/number_text.h"
#include "platform/controls.h"
#include "platform/runtime.h"
#include "windows/main_window.h"
#include "windows/options_window.h"

namespace tempodial {

void chargeMinute(Runtime& runtime) {
  auto& main = runtime.form<MainWindow>();
  auto& options = runtime.form<OptionsWindow>();
  double cost = readNumber(main.cost->text().toStdString());
  double rate = readNumber(options.combo1ass->text().toStdString());
  main.cost->setText(QString::fromStdString(writeNumber(cost + rate / 100)));
}

void selectRate(Runtime&, OptionsWindow&) {}
void applyCurrencyFromList(Runtime&) {}
void applyCurrencyFromMenu(Runtime&, Currency) {}
void applyCurrencyAtStartUp(Runtime&) {}

}  // namespace tempodial
