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

// How many numbered names a file tries before it gives up.
constexpr int kMaxNameAttempts = 1000;

// Calls tryName(attempt) for attempt 1, 2, ... while it returns
// kAlreadyExists, at most kMaxNameAttempts times; true when a try created
// the file (or gave it its name).
template <typename TryName>
bool takeFirstFreeName(TryName tryName) {
  for (int attempt = 1; attempt <= kMaxNameAttempts; ++attempt) {
    const platform::CreateResult result = tryName(attempt);
    if (result != platform::CreateResult::kAlreadyExists) {
      return result == platform::CreateResult::kCreated;
    }
  }
  return false;
}

}  // namespace logger

#endif  // LOGGER_LOGGER_RUN_FILES_H_
