// Runs this test program again as a host process on Windows, where there is
// no fork: the child runs one DISABLED_ test, which finds what to do in its
// environment and skips itself when that is missing.
#ifndef LOGGER_TESTS_TEST_HOST_WIN32_H_
#define LOGGER_TESTS_TEST_HOST_WIN32_H_

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace testing_support {

// An environment variable's name and value.
using EnvironmentVariable = std::pair<std::string, std::string>;

constexpr DWORD kHostNotStarted = 0xFFFFFFFF;

// Starts this program with only test ("Suite.DISABLED_Name"), the module
// and expected-log arguments it got and the given environment variables;
// waits for it and returns its exit code (an exception's code when one
// ended it), kHostNotStarted when it could not be started.
DWORD runTestAsHost(const std::string& test, const std::vector<EnvironmentVariable>& environment);

}  // namespace testing_support

#endif  // LOGGER_TESTS_TEST_HOST_WIN32_H_
