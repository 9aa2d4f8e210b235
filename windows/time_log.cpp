#include "windows/time_log.h"

#include "platform/controls.h"
#include "windows/box_files.h"
#include "windows/main_window.h"

namespace tempodial {

bool saveTimeLog(MainWindow& main, Place place) {
  Runtime& rt = main.runtime();
  return saveBox(rt, place, files::kSeconds, *main.RichTextBox1, kClockBoxFont) &&
         saveBox(rt, place, files::kMinutes, *main.RichTextBox2, kClockBoxFont) &&
         saveBox(rt, place, files::kHours, *main.RichTextBox3, kClockBoxFont);
}

void loadTimeLog(MainWindow& main, Place place) {
  Runtime& rt = main.runtime();
  loadBoxIfPresent(rt, place, files::kSeconds, *main.RichTextBox1);
  loadBoxIfPresent(rt, place, files::kMinutes, *main.RichTextBox2);
  loadBoxIfPresent(rt, place, files::kHours, *main.RichTextBox3);
}

bool blankTimeLog(MainWindow& main) {
  Runtime& rt = main.runtime();
  const RichTextBox& blank = *main.RichTextBox4;
  return saveBox(rt, Place::Windows, files::kSeconds, blank, kClockBoxFont) &&
         saveBox(rt, Place::Windows, files::kMinutes, blank, kClockBoxFont) &&
         saveBox(rt, Place::Windows, files::kHours, blank, kClockBoxFont);
}

bool saveTotals(MainWindow& main) {
  return saveTimeLog(main, Place::Data) &&
         saveBox(main.runtime(), Place::Data, files::kCost, *main.cost, kCostBoxFont);
}

}  // namespace tempodial
