// The cost meter's choices: the rate in use kept in step with the chosen
// tariff, and the currency, which the clock model then shows everywhere.
#pragma once

#include "core/money/currency.h"

namespace tempodial {

class Runtime;
class OptionsWindow;

// Sets the rate in use from the tariff name (at a tick of the Options
// window's Timer1, 100 ms after a change that can change it).
void selectRate(Runtime& runtime, OptionsWindow& options);

// A choice from the currency list: labels for a known currency, then the
// choice is remembered in any case.
void applyCurrencyFromList(Runtime& runtime);
// A choice from the currency panel's pop-up menu.
void applyCurrencyFromMenu(Runtime& runtime, Currency currency);
// The start-up route: labels from the currency list's text, nothing saved.
void applyCurrencyAtStartUp(Runtime& runtime);

}  // namespace tempodial
