#include "windows/totals/time_log.h"

#include "platform/forms/controls.h"
#include "windows/main/main_window.h"
#include "windows/totals/box_files.h"

namespace tempodial {

bool saveTimeLog(MainWindow& main, Place place) {
  Runtime& rt = main.runtime();
  return saveBoxesTogether(rt, place,
                           {{files::kSeconds, *main.RichTextBox1, kClockBoxFont},
                            {files::kMinutes, *main.RichTextBox2, kClockBoxFont},
                            {files::kHours, *main.RichTextBox3, kClockBoxFont}});
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
  return saveBoxesTogether(rt, Place::Windows,
                           {{files::kSeconds, blank, kClockBoxFont},
                            {files::kMinutes, blank, kClockBoxFont},
                            {files::kHours, blank, kClockBoxFont}});
}

bool saveTotals(MainWindow& main) {
  return saveTimeLog(main, Place::Data) &&
         saveBox(main.runtime(), Place::Data, files::kCost, *main.cost, kCostBoxFont);
}

}  // namespace tempodial
