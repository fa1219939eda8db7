// The file of a run that is still going: its in-progress name, which no
// finished log has, and finishing it under the run's log name, at the run's
// end or, after a crash, at a later Load in the same folder.
#ifndef LOGGER_LOGGER_RUNNING_LOG_H_
#define LOGGER_LOGGER_RUNNING_LOG_H_

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace logger {

// The in-progress file name of the attempt-th try for the log named logName
// ("Log_YYMMDD-hhmmss"): "Running_Log_YYMMDD-hhmmss.csv.running", then with
// "_2", "_3" and so on before ".csv.running".
std::string runningFileName(const std::string& logName, int attempt);

// The log name that an in-progress file name carries; empty when fileName is
// not one.
std::string logNameOfRunningFile(const std::string& fileName);

// Creates a new in-progress file in directory for the log named logName,
// trying numbered names while they are taken; its path into *path. False
// when none can be created.
bool createRunningLog(const std::string& directory, const std::string& logName,
                      platform::FileHandle* file, std::string* path);

// Renames the finished file at path to the first free name for logStem
// ("stem.csv", "stem_2.csv", ...), never replacing a file; the file is
// closed once renamed. False when it cannot be renamed.
bool nameFinishedLog(platform::FileHandle* file, const std::string& path,
                     const std::string& logStem);

// The length of the file up to and including its last line feed: 0 when it
// has none, -1 when it cannot be read.
int64_t lastWholeLineEnd(const platform::FileHandle& file);

// Finishes every in-progress file in directory that no live run holds: cut
// back to its last whole row and named after its own run's start. One that
// holds no whole row is removed.
void recoverRunningLogs(const std::string& directory);

}  // namespace logger

#endif  // LOGGER_LOGGER_RUNNING_LOG_H_
