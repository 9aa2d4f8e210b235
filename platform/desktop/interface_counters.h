// Reads the kernel's traffic counters of the network interfaces, with which
// of them carry a default route, from the proc and sys folders under a root
// folder ("/" on a running system; a folder laid out by a test elsewhere).
#pragma once

#include <QString>
#include <vector>

#include "core/volume/data_volume.h"

namespace tempodial {

// Every interface in sys/class/net but loopback, with its ifindex and the
// rx_bytes and tx_bytes of its statistics; whether it carries a default route
// comes from proc/net/route and proc/net/ipv6_route, whether it is a tunnel
// from its link type. An interface whose counters cannot be read is kept
// with `known` false.
std::vector<InterfaceReading> readInterfaceCounters(const QString& root = QStringLiteral("/"));

}  // namespace tempodial
