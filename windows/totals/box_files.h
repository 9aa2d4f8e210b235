// A box's text saved to and loaded from a value document in one of the two
// places, with failures reported to the user in a message box that names the
// file and the reason.
#pragma once

#include <QString>
#include <functional>
#include <initializer_list>
#include <string_view>

#include "core/files/file_places.h"
#include "core/values/status.h"
#include "core/values/value_document.h"

namespace tempodial {

class Runtime;
class RichTextBox;

// Writes the box's text to `name` in `place`. On failure tells the user which
// file could not be written and why, and returns false.
bool saveBox(Runtime& runtime, Place place, std::string_view name, const RichTextBox& box,
             BoxFont font);
// The same for a text that is not in a box.
bool saveText(Runtime& runtime, Place place, std::string_view name, const QString& text,
              BoxFont font);

// Writes the boxes' texts to their files in `place` as one unit: all change
// or none does. On failure tells the user which file could not be written
// and why, and returns false.
struct BoxToSave {
  std::string_view name;
  QString text;
  BoxFont font;
};
bool saveBoxesTogether(Runtime& runtime, Place place, std::initializer_list<BoxToSave> boxes);

// What an option file holds: the text of the main window's hidden box.
bool saveOptionFile(Runtime& runtime, Place place, std::string_view name);

// Where a loaded text goes: a box, or the clock model's counter or cost, which
// its box then shows. Either way the change handling runs as for typing.
using TextTarget = std::function<void(const QString&)>;
Status loadText(Runtime& runtime, Place place, std::string_view name, const TextTarget& target);
bool loadTextIfPresent(Runtime& runtime, Place place, std::string_view name,
                       const TextTarget& target);

// Reads `name` in `place` into the box, replacing its text (the box's change
// handling runs). Returns the failure without telling the user.
Status loadBox(Runtime& runtime, Place place, std::string_view name, RichTextBox& box);

// Loads the file into the box if it exists. A file that exists but cannot be
// read is reported (naming the file and the reason) and leaves the box as it
// was. Returns true iff the box was loaded.
bool loadBoxIfPresent(Runtime& runtime, Place place, std::string_view name, RichTextBox& box);

// Loads the file into the box if it exists and reads; anything else leaves the
// box as it was, silently.
bool loadBoxQuietly(Runtime& runtime, Place place, std::string_view name, RichTextBox& box);

bool fileInPlace(Runtime& runtime, Place place, std::string_view name);

// Deletes the file if present; a failure is reported. Returns true on success.
bool deleteInPlace(Runtime& runtime, Place place, std::string_view name);

// The messages that name a file and the reason.
QString writeFailureText(const QString& path, const std::string& reason);
QString readFailureText(const QString& path, const std::string& reason);

}  // namespace tempodial
