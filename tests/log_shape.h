// The shape of a written log, read back for tests that cannot know every
// value in it: its header row, and how many rows follow.
#ifndef LOGGER_TESTS_LOG_SHAPE_H_
#define LOGGER_TESTS_LOG_SHAPE_H_

#include <string>

namespace testing_support {

struct LogShape {
  std::string header;  // the header row with its line break
  int rows;            // the data rows after it
  bool operator==(const LogShape& other) const {
    return header == other.header && rows == other.rows;
  }
};

// Reads the log's shape and adds a test failure for every way in which it is
// not well formed: a line without its CR LF, a field without its ",", a row
// with another field count than the header, a field that is no value text.
LogShape readWellFormedLog(const std::string& log);

}  // namespace testing_support

#endif  // LOGGER_TESTS_LOG_SHAPE_H_
