// The command line's verbs that drive the running copy through its D-Bus
// object (platform/control/clock_control.h), without a display:
//   tempodial --start | --stop | --toggle | --status [--json]
// Each ends with status 0 when done, and 1 with the reason on standard error
// when no copy runs, the copy cannot do it now, or the verbs are misused.
// `--start` with no copy running starts one and then its clock.
#pragma once

#include <QStringList>
#include <QVariantMap>
#include <optional>

namespace tempodial {

// The verbs' usage line, for the program's help.
extern const char kControlVerbsUsage[];

// Runs the verb in `arguments` (the whole command line, the program first).
// Returns its exit status, or nothing when the command line holds no verb.
// Makes a core application of its own when there is none.
std::optional<int> runControlVerb(const QStringList& arguments);

// "Running 0:12:5 £0.44 34.2 MB": the state, the time on the clock, the
// cost with its currency and, once any was counted, the data volume, from
// the clock object's properties.
QString statusLine(const QVariantMap& properties);
// The same fields as one JSON object on one line, with "text", "class" and
// "tooltip" as panel modules (waybar) read them.
QByteArray statusJson(const QVariantMap& properties);

}  // namespace tempodial
