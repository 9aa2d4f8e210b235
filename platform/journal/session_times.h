// The local time at each end of a session. The journal keeps the offset from
// UTC at the start; a run that goes on across a change of the offset (the
// clocks going forward or back) ends at another one, which the time zone
// tells.
#pragma once

#include <QDateTime>
#include <QTimeZone>

namespace tempodial {

// The offset from UTC, in seconds east, at `endUtc` for a session that began
// at `startUtc` with `startOffset`: the zone's offset at the end when the
// zone had `startOffset` at the start, else (the session was kept in another
// zone) `startOffset` itself.
int endOffset(const QDateTime& startUtc, int startOffset, const QDateTime& endUtc,
              const QTimeZone& zone = QTimeZone::systemTimeZone());

}  // namespace tempodial
