#include "tests/log_shape.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace testing_support {
namespace {

// Whether a field holds nothing but the characters of value texts: numbers,
// "inf", "nan", flags and clock text.
bool isValueText(const std::string& field) {
  return field.find_first_not_of("0123456789+-.:einaftruls") == std::string::npos;
}

void checkRow(const std::string& row, std::size_t columns) {
  const auto fields = static_cast<std::size_t>(std::count(row.begin(), row.end(), ','));
  EXPECT_EQ(fields, columns) << "row: " << row;
  EXPECT_EQ(row.find('\n'), std::string::npos) << "row: " << row;
  for (std::size_t at = 0, comma; (comma = row.find(',', at)) != std::string::npos;
       at = comma + 1) {
    EXPECT_TRUE(isValueText(row.substr(at, comma - at))) << "row: " << row;
  }
}

}  // namespace

LogShape readWellFormedLog(const std::string& log) {
  LogShape shape{std::string(), -1};
  std::size_t columns = 0;
  for (std::size_t start = 0; start < log.size();) {
    const std::size_t end = log.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "the log does not end in a line break: " << log.substr(start);
      break;
    }
    const std::string line = log.substr(start, end - start);
    start = end + 2;
    if (!line.empty() && line.back() != ',') ADD_FAILURE() << "a field without its comma: " << line;
    if (shape.rows < 0) {
      shape.header = line + "\r\n";
      columns = static_cast<std::size_t>(std::count(line.begin(), line.end(), ','));
    } else {
      checkRow(line, columns);
    }
    ++shape.rows;
  }
  if (shape.rows < 0) ADD_FAILURE() << "the log is empty";
  return shape;
}

}  // namespace testing_support
