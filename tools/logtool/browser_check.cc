#include "tools/logtool/browser_check.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace browser_check {

const char* const kChromium = "/usr/bin/chromium";

std::string outputOf(const std::string& command) {
  std::string output;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[65536];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, count);
    pclose(pipe);
  }
  return output;
}

std::string quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

std::string renderedPage(const std::filesystem::path& page,
                         const std::filesystem::path& profileDirectory) {
  return outputOf(std::string(kChromium) +
                  " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run"
                  " --disable-background-networking --disable-component-update --disable-sync"
                  " --user-data-dir=" +
                  quoted(profileDirectory / "profile") +
                  " --window-size=1200,900 --virtual-time-budget=10000 --dump-dom 'file://" +
                  page.string() + "#self-check' 2>/dev/null");
}

double CheckLine::number(const std::string& key) const {
  return std::strtod(fields.at(key).c_str(), nullptr);
}

std::vector<CheckLine> selfCheck(const std::string& dom) {
  const std::size_t start = dom.find("<pre id=\"self-check\"");
  if (start == std::string::npos) return {};
  const std::size_t open = dom.find('>', start) + 1;
  std::istringstream text(dom.substr(open, dom.find("</pre>", open) - open));
  std::vector<CheckLine> lines;
  for (std::string line; std::getline(text, line);) {
    CheckLine parsed;
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, '\t');) {
      const std::size_t equals = field.find('=');
      if (equals == std::string::npos) {
        parsed.words.push_back(field);
      } else {
        parsed.fields[field.substr(0, equals)] = field.substr(equals + 1);
      }
    }
    lines.push_back(parsed);
  }
  return lines;
}

void BrowserTest::SetUp() {
  if (!std::filesystem::exists(kChromium)) {
    const char* ci = std::getenv("CI");
    if (ci != nullptr && std::string(ci) == "true") FAIL() << kChromium << " is missing in CI";
    GTEST_SKIP() << "!!! SKIPPING THE BROWSER TEST: " << kChromium
                 << " is missing (as root: ./scripts/install-tools)";
  }
}

}  // namespace browser_check
