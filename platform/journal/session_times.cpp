#include "platform/journal/session_times.h"

namespace tempodial {

int endOffset(const QDateTime& startUtc, int startOffset, const QDateTime& endUtc,
              const QTimeZone& zone) {
  if (!zone.isValid() || zone.offsetFromUtc(startUtc) != startOffset) return startOffset;
  return zone.offsetFromUtc(endUtc);
}

}  // namespace tempodial
