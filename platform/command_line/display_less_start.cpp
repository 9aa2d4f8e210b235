#include "platform/command_line/display_less_start.h"

#include <QCoreApplication>
#include <cstdio>
#include <memory>

namespace tempodial {

int runWithoutDisplay(const CommandLine& line) {
  static int argc = 1;
  static char name[] = "tempodial";
  static char* argv[] = {name, nullptr};
  std::unique_ptr<QCoreApplication> app;
  if (QCoreApplication::instance() == nullptr) app = std::make_unique<QCoreApplication>(argc, argv);
  switch (line.mode) {
    case CommandLine::Mode::Control:
      return runControlVerb(line.control);
    case CommandLine::Mode::Export:
      return exportHistory(line.exportRequest);
    case CommandLine::Mode::Quote:
      return printQuote(line.quote, stdout, stderr);
    default:
      return 1;
  }
}

}  // namespace tempodial
