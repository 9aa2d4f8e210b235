#include "windows/programs/launcher.h"

#include <QStringList>

#include "core/programs/command_line.h"
#include "platform/forms/controls.h"
#include "platform/runtime/runtime.h"
#include "windows/programs/locations_window.h"
#include "windows/totals/box_files.h"

namespace tempodial {
namespace {

// Returns true iff the program of `row` was started.
bool tryLaunch(Runtime& runtime, int row) {
  auto& locations = runtime.form<LocationsWindow>();
  RichTextBox* box = locations.box(row);
  if (box == nullptr) return false;
  if (!loadBox(runtime, Place::Data, LocationsWindow::locationFile(row), *box).ok()) return false;
  auto words = splitCommandLine(box->text().toStdString());
  if (!words.ok() || words.value().empty()) return false;
  const std::vector<std::string>& line = words.value();
  QStringList arguments;
  for (std::size_t i = 1; i < line.size(); ++i) arguments << QString::fromStdString(line[i]);
  return runtime.services().startProgram(QString::fromStdString(line.front()), arguments).ok();
}

}  // namespace

void launchProgram(Runtime& runtime, int row) {
  if (!tryLaunch(runtime, row)) runtime.message(QStringLiteral("Ye Gods that didn't work"));
}

}  // namespace tempodial
