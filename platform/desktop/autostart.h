// Starting the program at login: the desktop's autostart entry
// $XDG_CONFIG_HOME/autostart/tempodial.desktop (XDG autostart), written
// atomically or removed.
#pragma once

#include <QByteArray>
#include <QString>

#include "core/values/status.h"

namespace tempodial {

// "$XDG_CONFIG_HOME/autostart/tempodial.desktop" (default ~/.config/...).
QString autostartPath();

// True iff the entry is there and not switched off by the desktop
// (Hidden=true, X-GNOME-Autostart-enabled=false).
bool startsAtLogin();

// Writes the entry (on) or removes it (off).
Status setStartAtLogin(bool on);

// The entry's text, starting `program` (the path of this program's file)
// with --login: by its name where the search path finds this program under
// it, else by its full path.
QByteArray autostartEntry(const QString& program);

}  // namespace tempodial
