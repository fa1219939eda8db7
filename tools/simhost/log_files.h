// The logs a module writes into its directory, as simhost reports them.
#ifndef LOGGER_TOOLS_SIMHOST_LOG_FILES_H_
#define LOGGER_TOOLS_SIMHOST_LOG_FILES_H_

#include <cstdint>
#include <filesystem>
#include <set>

namespace simhost {

// The logs ("Log_*.csv") in directory; empty when it cannot be read.
std::set<std::filesystem::path> findLogs(const std::filesystem::path& directory);

// The data rows of the log at path: its lines after the header row.
int64_t countDataRows(const std::filesystem::path& path);

}  // namespace simhost

#endif  // LOGGER_TOOLS_SIMHOST_LOG_FILES_H_
