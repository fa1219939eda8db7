// The whole text a LogBuffer holds, for tests and fuzzers to compare.
#ifndef LOGGER_TESTS_LOG_BUFFER_TEXT_H_
#define LOGGER_TESTS_LOG_BUFFER_TEXT_H_

#include <string>

#include "logger/log_buffer.h"

namespace testing_support {

// The log's pieces joined, in order.
inline std::string logBufferText(const logger::LogBuffer& log) {
  std::string text;
  log.forEachPiece([&text](const char* data, std::size_t size) {
    text.append(data, size);
    return true;
  });
  return text;
}

}  // namespace testing_support

#endif  // LOGGER_TESTS_LOG_BUFFER_TEXT_H_
