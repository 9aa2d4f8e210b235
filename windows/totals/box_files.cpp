#include "windows/totals/box_files.h"

#include "core/files/save_unit.h"
#include "platform/files/file_service.h"
#include "platform/files/value_files.h"
#include "platform/forms/controls.h"
#include "platform/runtime/runtime.h"

namespace tempodial {

QString writeFailureText(const QString& path, const std::string& reason) {
  return QStringLiteral("Could not save %1: %2").arg(path, QString::fromStdString(reason));
}

QString readFailureText(const QString& path, const std::string& reason) {
  return QStringLiteral("Could not read %1: %2").arg(path, QString::fromStdString(reason));
}

bool saveText(Runtime& runtime, Place place, std::string_view name, const QString& text,
              BoxFont font) {
  const QString path = runtime.places().path(place, name);
  Status status = saveValue(path, text, font);
  if (!status.ok()) runtime.message(writeFailureText(path, status.reason()));
  return status.ok();
}

bool saveBox(Runtime& runtime, Place place, std::string_view name, const RichTextBox& box,
             BoxFont font) {
  return saveText(runtime, place, name, box.text(), font);
}

bool saveBoxesTogether(Runtime& runtime, Place place, std::initializer_list<BoxToSave> boxes) {
  std::vector<ValueToSave> values;
  for (const BoxToSave& each : boxes) {
    values.push_back({runtime.places().path(place, each.name), each.text, each.font});
  }
  UnitOutcome outcome = saveValuesTogether(runtime.places().path(place, kUnitRecordName), values);
  if (!outcome.ok) runtime.message(writeFailureText(outcome.failedPath, outcome.reason));
  return outcome.ok;
}

bool saveOptionFile(Runtime& runtime, Place place, std::string_view name) {
  return saveText(runtime, place, name, QStringLiteral("0"), kClockBoxFont);
}

Status loadText(Runtime& runtime, Place place, std::string_view name, const TextTarget& target) {
  auto text = loadValue(runtime.places().path(place, name));
  if (!text.ok()) return text.status();
  target(text.value());
  return Status::Ok();
}

bool loadTextIfPresent(Runtime& runtime, Place place, std::string_view name,
                       const TextTarget& target) {
  if (!fileInPlace(runtime, place, name)) {
    // Missing says nothing; a file that cannot even be looked at says why.
    const QString path = runtime.places().path(place, name);
    if (Status seen = lookUp(path); !seen.ok()) {
      runtime.message(readFailureText(path, seen.reason()));
    }
    return false;
  }
  Status status = loadText(runtime, place, name, target);
  if (!status.ok()) {
    runtime.message(readFailureText(runtime.places().path(place, name), status.reason()));
  }
  return status.ok();
}

Status loadBox(Runtime& runtime, Place place, std::string_view name, RichTextBox& box) {
  return loadText(runtime, place, name, [&box](const QString& text) { box.setText(text); });
}

bool loadBoxIfPresent(Runtime& runtime, Place place, std::string_view name, RichTextBox& box) {
  return loadTextIfPresent(runtime, place, name,
                           [&box](const QString& text) { box.setText(text); });
}

bool loadBoxQuietly(Runtime& runtime, Place place, std::string_view name, RichTextBox& box) {
  if (!fileInPlace(runtime, place, name)) return false;
  return loadBox(runtime, place, name, box).ok();
}

bool fileInPlace(Runtime& runtime, Place place, std::string_view name) {
  return fileExists(runtime.places().path(place, name));
}

bool deleteInPlace(Runtime& runtime, Place place, std::string_view name) {
  const QString path = runtime.places().path(place, name);
  Status status = deleteIfPresent(path);
  if (!status.ok()) {
    runtime.message(QStringLiteral("Could not delete %1: %2")
                        .arg(path, QString::fromStdString(status.reason())));
  }
  return status.ok();
}

}  // namespace tempodial
