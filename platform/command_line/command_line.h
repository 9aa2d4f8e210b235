// The program's command line, read once: help and version, the history
// export, the quote, the verbs that drive a running copy, or the window
// (with --login). Everything that is no option of the program's own is left
// to Qt in the window's case (-platform, -style, -reverse) and is a misuse in
// the others'. Each mode's request is its feature's own; this reader sits
// above them all.
#pragma once

#include <QString>
#include <QStringList>

#include "platform/control/control_verbs.h"
#include "platform/journal/history_export.h"
#include "platform/plans/plan_quote_command.h"

namespace tempodial {

struct CommandLine {
  enum class Mode { Window, Help, Version, Export, Quote, Control, Misuse };
  Mode mode = Mode::Window;
  bool login = false;  // the window waits behind the status icon
  ExportRequest exportRequest;
  QuoteRequest quote;
  ControlRequest control;
  // For a misuse: what is wrong ("--plan needs the name of a plan"), and the
  // usage lines that follow it (possibly none).
  QString misuse, usage;
};

// Reads the whole command line, the program's name first.
CommandLine readCommandLine(const QStringList& arguments);

// The text of --help.
const char* usageText();

}  // namespace tempodial
