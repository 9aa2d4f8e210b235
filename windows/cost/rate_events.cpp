#include "windows/cost/rate_events.h"

#include <QFileInfo>
#include <QFileSystemWatcher>

#include "platform/forms/controls.h"
#include "platform/forms/form_timer.h"
#include "platform/runtime/runtime.h"
#include "windows/cost/options_window.h"

namespace tempodial {
namespace {

void arm(OptionsWindow& options) {
  if (!options.unloaded() && !options.runtime().ended()) options.Timer1->arm();
}

// Watches the data directory, and the folder that holds it so that a data
// directory made (or made again) later is watched from then on.
class DataDirectoryWatch : public QFileSystemWatcher {
 public:
  explicit DataDirectoryWatch(OptionsWindow& options)
      : QFileSystemWatcher(&options),
        options_(options),
        data_(options.runtime().places().folder(Place::Data)),
        root_(QFileInfo(data_).path()) {
    setObjectName(QStringLiteral("dataDirectoryWatch"));
    connect(this, &QFileSystemWatcher::directoryChanged, this, [this] {
      if (options_.unloaded()) return;
      watch();
      arm(options_);
    });
    watch();
  }

 private:
  // Adds whichever of the two folders exists and is not watched yet. The rate
  // selection waits for changes only while the data directory is watched.
  void watch() {
    for (const QString& folder : {root_, data_}) {
      if (!directories().contains(folder) && QFileInfo(folder).isDir()) addPath(folder);
    }
    options_.Timer1->setRunsOnce(directories().contains(data_));
  }

  OptionsWindow& options_;
  const QString data_;
  const QString root_;
};

}  // namespace

void followRateEvents(OptionsWindow& options) {
  new DataDirectoryWatch(options);
  const auto armIt = [&options] { arm(options); };
  for (RichTextBox* box : {options.RichTextBox1, options.RichTextBox2, options.RichTextBox3,
                           options.custom1, options.custom2, options.ccost1, options.ccost2}) {
    QObject::connect(box, &QPlainTextEdit::textChanged, &options, armIt);
  }
  QObject::connect(options.Combo1, &QComboBox::currentTextChanged, &options, armIt);
  QObject::connect(options.Combo1, &QComboBox::editTextChanged, &options, armIt);
}

}  // namespace tempodial
