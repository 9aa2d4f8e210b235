// Desktop notifications through org.freedesktop.Notifications on the session
// bus. Where no notification service is there, nothing happens.
#pragma once

#include <QString>

namespace tempodial {

// Sends the notification without waiting for the service's answer.
void notifyDesktop(const QString& summary, const QString& body);

}  // namespace tempodial
