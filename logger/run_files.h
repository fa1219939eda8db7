// The files a run uses, all found by the module's own path: its settings
// file and column file beside it, and the log it writes into its directory.
#ifndef LOGGER_LOGGER_RUN_FILES_H_
#define LOGGER_LOGGER_RUN_FILES_H_

#include <string>

#include "platform/platform.h"

namespace logger {

struct RunFiles {
  std::string settingsPath;  // the module's INI file; empty when none can be named
  std::string columnsPath;   // the module's column file; empty when none can be named
  std::string directory;     // where the log goes; empty when unknown
};

// The run's files for the module at modulePath. Only the module extension at
// the end of the file name, in any letter case, is replaced by ".ini" and
// ".csv"; a module file without it names neither file.
RunFiles deriveRunFiles(const std::string& modulePath);

// The log's path without its ending, for a run started at time:
// directory, separator, "Log_YYMMDD-hhmmss".
std::string composeLogStem(const std::string& directory, const platform::LocalTime& time);

// The path the attempt-th try to create the log uses: stem + ".csv" first,
// then stem + "_2.csv", "_3.csv" and so on.
std::string logPathForAttempt(const std::string& stem, int attempt);

}  // namespace logger

#endif  // LOGGER_LOGGER_RUN_FILES_H_
