// For the browser tests: a page logtool wrote, opened in headless Chromium
// with "#self-check" in its address, describes what it drew into a hidden
// <pre id="self-check">, one line a thing: words and key=value fields,
// separated by tabs.
#ifndef LOGGER_TOOLS_LOGTOOL_BROWSER_CHECK_H_
#define LOGGER_TOOLS_LOGTOOL_BROWSER_CHECK_H_

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/temporary_directory.h"

namespace browser_check {

// Where the tests expect Chromium.
extern const char* const kChromium;

// The standard output of a shell command.
std::string outputOf(const std::string& command);

// path in single quotes, for a shell command.
std::string quoted(const std::filesystem::path& path);

// The page's DOM after its script ran with "#self-check", as headless
// Chromium dumps it; its profile goes under profileDirectory.
std::string renderedPage(const std::filesystem::path& page,
                         const std::filesystem::path& profileDirectory);

// One line of the self-check: its words and key=value fields.
struct CheckLine {
  std::vector<std::string> words;
  std::map<std::string, std::string> fields;
  double number(const std::string& key) const;
};

// The self-check lines in a dumped DOM; none when the page wrote none.
std::vector<CheckLine> selfCheck(const std::string& dom);

// A browser test: skipped when Chromium is missing (failed in CI), with a
// fresh directory for its files.
class BrowserTest : public testing::Test {
 protected:
  void SetUp() override;
  testing_support::TemporaryDirectory directory_;
};

}  // namespace browser_check

#endif  // LOGGER_TOOLS_LOGTOOL_BROWSER_CHECK_H_
