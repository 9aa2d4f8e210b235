// Value documents on disk: a box's text saved to a file in the box's font and
// read back.
#pragma once

#include <QString>
#include <vector>

#include "core/values/status.h"
#include "core/values/value_document.h"
#include "platform/files/save_unit.h"

namespace tempodial {

// Writes `text` as a value document in `font`, replacing the file atomically.
Status saveValue(const QString& path, const QString& text, BoxFont font);

struct ValueToSave {
  QString path;
  QString text;
  BoxFont font;
};
// Writes the values as one unit (see platform/files/save_unit.h) with the
// roll-forward record at `recordPath`: all files change or none does.
UnitOutcome saveValuesTogether(const QString& recordPath, const std::vector<ValueToSave>& values);

// Reads the text of the value document at `path`. Fails for a missing or
// unreadable file, a file larger than any value document, and a file that is
// not a value document.
Result<QString> loadValue(const QString& path);

}  // namespace tempodial
