// The report as a browser shows it: headless Chromium opens a report written
// by logtool, the page describes its charts as drawn (before and after
// switching the x axis through its buttons), and the test holds that against
// the log itself and against `logtool summary`.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

#include "tests/temporary_directory.h"
#include "tools/logtool/browser_check.h"

namespace {

using testing_support::readFileBytes;
using testing_support::TemporaryDirectory;

const std::string kSource = LOGTOOL_SOURCE_DIRECTORY;
using browser_check::CheckLine;
using browser_check::outputOf;
using browser_check::quoted;
using browser_check::selfCheck;

// The report's DOM after its script ran.
std::string renderedPage(const std::filesystem::path& report, const TemporaryDirectory& profile) {
  return browser_check::renderedPage(report, profile.path());
}

// The self-check line of that kind, chart, axis and (for a series) label.
const CheckLine* find(const std::vector<CheckLine>& lines, const std::string& kind,
                      const std::string& chart, const std::string& axis,
                      const std::string& label = "") {
  for (const CheckLine& line : lines) {
    if (line.words.size() == 2 && line.words[0] == kind && line.words[1] == "chart-" + chart &&
        line.fields.at("axis") == axis && (label.empty() || line.fields.at("label") == label)) {
      return &line;
    }
  }
  return nullptr;
}

// A column of a decimal-point log read plainly: its non-empty fields.
std::vector<std::string> column(const std::string& log, const std::string& title) {
  std::istringstream lines(log);
  std::string line;
  std::getline(lines, line);
  std::istringstream titles(line);
  int index = 0;
  for (std::string field; std::getline(titles, field, ',') && field != title;) ++index;
  std::vector<std::string> values;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string field;
    for (int i = 0; i <= index; ++i) std::getline(fields, field, ',');
    if (!field.empty()) values.push_back(field);
  }
  return values;
}

double seconds(const std::string& clock) {
  return std::stoi(clock.substr(0, 2)) * 3600 + std::stoi(clock.substr(3, 2)) * 60 +
         std::stod(clock.substr(6));
}

using ReportBrowserTest = browser_check::BrowserTest;

// The values of a column as the log holds them: count, minimum, maximum.
void expectSeries(const std::vector<CheckLine>& lines, const std::string& chart,
                  const std::string& axis, const std::string& title,
                  const std::vector<std::string>& values) {
  const CheckLine* line = find(lines, "series", chart, axis, title);
  ASSERT_NE(line, nullptr) << chart << " " << axis << " " << title;
  double low = INFINITY, high = -INFINITY;
  for (const std::string& value : values) {
    const double number = value == "true" ? 1 : value == "false" ? 0 : std::stod(value);
    low = std::min(low, number);
    high = std::max(high, number);
  }
  EXPECT_EQ(line->number("count"), static_cast<double>(values.size())) << title;
  EXPECT_NEAR(line->number("min"), low, 1e-9 * std::fabs(low) + 1e-12) << title;
  EXPECT_NEAR(line->number("max"), high, 1e-9 * std::fabs(high) + 1e-12) << title;
}

TEST_F(ReportBrowserTest, ChartsHoldTheLogAndSwitchTheirAxis) {
  const std::string logBytes = readFileBytes(kSource + "/tests/expected/station_stop.csv");
  const auto log = directory_.write("Log_260101-084210.csv", logBytes);
  directory_.write("Logger.csv", readFileBytes(kSource + "/examples/Logger.csv"));
  const std::string report = outputOf(std::string(LOGTOOL_PROGRAM) + " report " + quoted(log));
  ASSERT_NE(report.find("report: "), std::string::npos) << report;
  const std::vector<CheckLine> lines =
      selfCheck(renderedPage(log.parent_path() / "Log_260101-084210.html", directory_));
  ASSERT_FALSE(lines.empty()) << "the page wrote no self-check";

  // Pointing at a beacon's marker names it; the scenario passes one 5 s in.
  const auto pointed = std::find_if(lines.begin(), lines.end(), [](const CheckLine& line) {
    return !line.words.empty() && line.words[0] == "cursor" && line.fields.at("kind") == "beacon";
  });
  ASSERT_NE(pointed, lines.end());
  EXPECT_EQ(pointed->fields.at("shown"),
            "beacon type 1, signal 2, distance 300, data 0 at 08:42:15.000");

  const std::vector<std::string> clock = column(logBytes, "Time");
  const std::vector<std::string> location = column(logBytes, "Location m");
  const std::map<std::string, std::vector<std::string>> charts = {
      {"speed", {"Speed km/h", "Acceleration km/h/s"}},
      {"handles", {"Power notch", "Brake notch", "Reverser"}},
      {"pressures",
       {"Brake cylinder kPa", "Straight air pipe kPa", "Brake pipe kPa", "Equalizing reservoir kPa",
        "Main reservoir kPa"}},
      {"current", {"Current A"}},
      {"signal", {"Signal", "Doors closed"}}};
  for (const char* axis : {"time", "location"}) {
    const double first =
        axis == std::string("time") ? seconds(clock.front()) : std::stod(location.front());
    const double last =
        axis == std::string("time") ? seconds(clock.back()) : std::stod(location.back());
    for (const auto& [chart, titles] : charts) {
      const CheckLine* drawn = find(lines, "chart", chart, axis);
      ASSERT_NE(drawn, nullptr) << chart << " on the " << axis << " axis";
      EXPECT_EQ(drawn->fields.at("canvas"), "1");
      EXPECT_EQ(drawn->number("points"), static_cast<double>(clock.size()));
      EXPECT_NEAR(drawn->number("xmin"), first, 1e-6) << chart << " " << axis;
      EXPECT_NEAR(drawn->number("xmax"), last, 1e-6) << chart << " " << axis;
      EXPECT_GT(drawn->number("markers"), 0) << chart << " " << axis;
      for (const std::string& title : titles)
        expectSeries(lines, chart, axis, title, column(logBytes, title));
    }
  }
}

TEST_F(ReportBrowserTest, TheStopTableIsTheSummarysStops) {
  const auto log =
      directory_.write("Log_1.csv", readFileBytes(kSource + "/tests/expected/station_stop.csv"));
  directory_.write("Logger.csv", readFileBytes(kSource + "/examples/Logger.csv"));
  outputOf(std::string(LOGTOOL_PROGRAM) + " report " + quoted(log));
  const std::string summary = outputOf(std::string(LOGTOOL_PROGRAM) + " summary " + quoted(log));
  const std::string dom = renderedPage(directory_.path() / "Log_1.html", directory_);
  std::vector<std::string> tableStops;
  for (std::size_t row = dom.find("<tr class=\"stop\">"); row != std::string::npos;
       row = dom.find("<tr class=\"stop\">", row + 1)) {
    std::vector<std::string> cells;
    const std::size_t end = dom.find("</tr>", row);
    for (std::size_t cell = dom.find("<td>", row); cell < end; cell = dom.find("<td>", cell + 1)) {
      cells.push_back(dom.substr(cell + 4, dom.find("</td>", cell) - cell - 4));
    }
    ASSERT_EQ(cells.size(), 6u);
    tableStops.push_back("  stop " + cells[0] + ": arrived " + cells[1] + ", departed " + cells[2] +
                         ", dwell " + cells[3] + ", at " + cells[4] + ", " + cells[5]);
  }
  std::vector<std::string> summaryStops;
  std::istringstream summaryLines(summary);
  for (std::string line; std::getline(summaryLines, line);) {
    if (line.rfind("  stop ", 0) == 0) summaryStops.push_back(line);
  }
  EXPECT_FALSE(summaryStops.empty()) << summary;
  EXPECT_EQ(tableStops, summaryStops);
  // Each of its five charts has its PNG button.
  std::size_t buttons = 0;
  for (std::size_t at = dom.find("class=\"png\""); at != std::string::npos;
       at = dom.find("class=\"png\"", at + 1))
    ++buttons;
  EXPECT_EQ(buttons, 5u);
}

TEST_F(ReportBrowserTest, ALongLogIsDrawnByEachBucketsExtremes) {
  std::string bytes = "Time,Speed km/h,\r\n";
  const int rows = 60000;
  for (int i = 0; i < rows; ++i) {
    char row[64];
    const double speed =
        i == 41234 ? 321.5 : (i == 50001 ? -77.25 : 40 + 30 * std::sin(i / 3000.0));
    std::snprintf(row, sizeof row, "%02d:%02d:%02d.000,%g,\r\n", 10 + i / 3600, i / 60 % 60, i % 60,
                  speed);
    bytes += row;
  }
  const auto log = directory_.write("Log_2.csv", bytes);
  directory_.write("Logger.csv", "time_hhmmss,Time\r\nspeed,Speed km/h\r\n");
  outputOf(std::string(LOGTOOL_PROGRAM) + " report " + quoted(log));
  const std::vector<CheckLine> lines =
      selfCheck(renderedPage(directory_.path() / "Log_2.html", directory_));
  const CheckLine* chart = find(lines, "chart", "speed", "time");
  ASSERT_NE(chart, nullptr);
  EXPECT_LT(chart->number("points"), 6000);
  const CheckLine* speed = find(lines, "series", "speed", "time", "Speed km/h");
  ASSERT_NE(speed, nullptr);
  EXPECT_EQ(speed->number("max"), 321.5);
  EXPECT_EQ(speed->number("min"), -77.25);
  EXPECT_EQ(chart->number("xmax"), 10 * 3600 + rows - 1);
}

}  // namespace
