#include "platform/files/value_files.h"

#include <string_view>

#include "platform/files/file_service.h"

namespace tempodial {

Status saveValue(const QString& path, const QString& text, BoxFont font) {
  std::string bytes = writeValueDocument(text.toStdString(), font);
  return writeFileAtomic(path, QByteArray::fromStdString(bytes));
}

UnitOutcome saveValuesTogether(const QString& recordPath, const std::vector<ValueToSave>& values) {
  std::vector<UnitFile> files;
  for (const ValueToSave& value : values) {
    files.push_back({value.path, QByteArray::fromStdString(
                                     writeValueDocument(value.text.toStdString(), value.font))});
  }
  return saveUnit(recordPath, files);
}

Result<QString> loadValue(const QString& path) {
  auto bytes = readWholeFile(path, static_cast<qint64>(kMaxDocumentBytes));
  if (!bytes.ok()) return Result<QString>::FromStatus(bytes.status());
  auto text = readValueDocument(std::string_view(bytes.value().constData(), bytes.value().size()));
  if (!text.ok()) return Result<QString>::FromStatus(text.status());
  return Result<QString>::Value(QString::fromStdString(text.value()));
}

}  // namespace tempodial
