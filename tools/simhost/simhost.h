// simhost as a whole: reads the scenario, loads the module, drives the run
// and reports the logs it wrote.
#ifndef LOGGER_TOOLS_SIMHOST_SIMHOST_H_
#define LOGGER_TOOLS_SIMHOST_SIMHOST_H_

#include <ostream>

#include "tools/simhost/command_line.h"

namespace simhost {

// simhost's exit statuses.
enum ExitStatus {
  kCompleted = 0,       // the run completed
  kBadInput = 2,        // bad usage or a bad scenario file; nothing was run
  kModuleUnusable = 3,  // the module cannot be loaded or lacks an entry point
};

// Does what commandLine asks: the report goes to out, warnings and errors to
// err, and, when showProgress is set, a progress line to err as well. The
// current directory is the same afterwards. Returns the exit status.
int runSimhost(const CommandLine& commandLine, std::ostream& out, std::ostream& err,
               bool showProgress);

}  // namespace simhost

#endif  // LOGGER_TOOLS_SIMHOST_SIMHOST_H_
