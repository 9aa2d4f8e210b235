// What sets the Options window's rate selection going: every change that can
// change the rate in use arms its Timer1, which then selects the rate once,
// 100 ms later. The changes are those of the tariff list's text, of the rate
// and custom name boxes, and of the data directory, where the saved tariff
// files decide between a rate box and its default (whoever saves or deletes
// them). Where the data directory cannot be watched, Timer1 selects the rate
// every 100 ms instead.
#pragma once

namespace tempodial {

class OptionsWindow;

// Connects the changes above to `options`' Timer1 and makes it run once per
// arming while the data directory is watched.
void followRateEvents(OptionsWindow& options);

}  // namespace tempodial
