// The program's command line, read once: help and version, the history
// export, the quote, the verbs that drive a running copy, or the window
// (with --login). Everything that is no option of the program's own is left
// to Qt in the window's case (-platform, -style, -reverse) and is a misuse in
// the others'.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "core/history/history.h"

namespace tempodial {

// --export-history FILE|- [--from YYYY-MM-DD] [--to YYYY-MM-DD]
struct ExportRequest {
  QString file;
  std::optional<CivilDate> from, to;
};

// --quote START DURATION [--plan NAME] [--data MB] [--used MB]: START and
// DURATION as typed, read by the quote itself against the local time zone.
struct QuoteRequest {
  QString start, duration, plan;
  std::int64_t dataBytes = 0;
  // The bytes of the billing month taken as used before the run; none: what
  // the journal holds.
  std::optional<std::int64_t> usedBytes;
};

// --start | --stop | --toggle | --status [--follow] [--json]
struct ControlRequest {
  QString verb;
  bool json = false;
  bool follow = false;
};

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
