// The command line's verbs that drive the running copy through its D-Bus
// object (platform/control/clock_control.h), without a display:
//   tempodial --start | --stop | --toggle | --status [--follow] [--json]
// Each ends with status 0 when done, and 1 with the reason on standard error
// when no copy runs or the copy cannot do it now.
// `--start` with no copy running starts one and then its clock. `--status
// --follow` runs until killed (platform/control/status_follower.h).
#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace tempodial {

// --start | --stop | --toggle | --status [--follow] [--json]
struct ControlRequest {
  QString verb;
  bool json = false;
  bool follow = false;
};

// The verbs' usage line, for the program's help.
extern const char kControlVerbsUsage[];

// Runs the verb; returns its exit status. Wants a core application (the
// command line's display-less start makes it).
int runControlVerb(const ControlRequest& request);

// "Running 0:12:5 £0.44 34.2 MB": the state, the time on the clock, the
// cost with its currency and, once any was counted, the data volume, from
// the clock object's properties.
QString statusLine(const QVariantMap& properties);
// The same fields as one JSON object on one line, with "text", "class" and
// "tooltip" as panel modules (waybar) read them.
QByteArray statusJson(const QVariantMap& properties);

}  // namespace tempodial
