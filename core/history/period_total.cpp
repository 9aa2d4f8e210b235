#include "core/history/period_total.h"

#include "core/volume/data_volume.h"

namespace tempodial {

void PeriodTotal::add(const PeriodTotal& other) {
  sessions += other.sessions;
  seconds += other.seconds;
  cost.add(other.cost);
  received += other.received;
  sent += other.sent;
  unknownBytes += other.unknownBytes;
}

std::array<std::string, 3> periodVolumeTexts(const PeriodTotal& total) {
  if (total.unknownBytes > 0 && total.unknownBytes >= total.sessions) return {};
  std::array<std::string, 3> texts{volumeText(total.received), volumeText(total.sent),
                                   volumeText(total.received + total.sent)};
  if (total.unknownBytes > 0) {
    for (std::string& text : texts) text.insert(0, "\u2265 ");
  }
  return texts;
}

}  // namespace tempodial
