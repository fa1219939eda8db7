// Writing the gathered log into its file in one piece, and what is left when
// the disk takes only part of it.
#ifndef LOGGER_LOGGER_LOG_FILE_H_
#define LOGGER_LOGGER_LOG_FILE_H_

#include <cstddef>

#include "logger/log_buffer.h"
#include "platform/platform.h"

namespace logger {

// Writes the log's part in memory into the file, after the log's part that
// the file already holds (all of a log without a file, into a new, empty
// one). When the file takes only part of it (a full disk), cuts the file back
// to the end of the last whole line written, or where it cannot be cut,
// overwrites the part row with zero bytes, so that no row is ever cut short.
// Returns whether the whole log was written.
bool writeLogFile(const LogBuffer& log, const platform::FileHandle& file);

// The length of the first size bytes of the log's part in memory up to and
// including the last line feed among them; 0 when there is none.
std::size_t wholeLinesLength(const LogBuffer& log, std::size_t size);

}  // namespace logger

#endif  // LOGGER_LOGGER_LOG_FILE_H_
