// For the browser tests: a command's output, and a page as headless
// Chromium renders it.
#ifndef LOGGER_TOOLS_LOGTOOL_BROWSER_PAGE_H_
#define LOGGER_TOOLS_LOGTOOL_BROWSER_PAGE_H_

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/temporary_directory.h"

namespace testing_support {

inline const std::string kChromium = "/usr/bin/chromium";

// The standard output of a shell command.
inline std::string outputOf(const std::string& command) {
  std::string output;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[65536];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, count);
    pclose(pipe);
  }
  return output;
}

inline std::string quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

// The page's DOM after its script ran, as headless Chromium dumps it.
inline std::string renderedPage(const std::filesystem::path& report,
                                const TemporaryDirectory& profile) {
  return outputOf(kChromium +
                  " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run"
                  " --disable-background-networking --disable-component-update --disable-sync"
                  " --user-data-dir=" +
                  quoted(profile.path() / "profile") +
                  " --window-size=1200,900 --virtual-time-budget=10000 --dump-dom 'file://" +
                  report.string() + "#self-check' 2>/dev/null");
}

}  // namespace testing_support

#endif  // LOGGER_TOOLS_LOGTOOL_BROWSER_PAGE_H_
