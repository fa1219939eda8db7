// What the tools print with --version, checked the same way for each.
#ifndef LOGGER_TESTS_VERSION_TEXT_H_
#define LOGGER_TESTS_VERSION_TEXT_H_

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace tests {

// Success when text is "PROGRAM (Logger) N.N.N", a line break, a line that
// starts with "Copyright " and a line break. Read without <regex>, which
// g++ 12 does not build warning-free under the sanitizers.
inline ::testing::AssertionResult isVersionText(const std::string& text,
                                                const std::string& program) {
  const std::string name = program + " (Logger) ";
  const std::size_t end = text.find('\n');
  if (text.rfind(name, 0) != 0 || end == std::string::npos) {
    return ::testing::AssertionFailure() << "no \"" << name << "\" line: " << text;
  }
  const std::string number = text.substr(name.size(), end - name.size());
  if (std::count(number.begin(), number.end(), '.') != 2 ||
      number.find_first_not_of("0123456789.") != std::string::npos) {
    return ::testing::AssertionFailure() << "not a version N.N.N: " << number;
  }
  if (text.compare(end + 1, 10, "Copyright ") != 0 || text.back() != '\n') {
    return ::testing::AssertionFailure() << "no copyright line: " << text;
  }
  return ::testing::AssertionSuccess();
}

}  // namespace tests

#endif  // LOGGER_TESTS_VERSION_TEXT_H_
