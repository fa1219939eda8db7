// The comparison as a browser shows it: simhost drives the module through
// one route twice (examples/route_run_brisk and route_run_gentle, the gentle
// run logged with decimal commas), logtool compares the two logs, headless
// Chromium opens the page, and its charts as drawn are held against the logs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

#include "tests/temporary_directory.h"
#include "tools/logtool/browser_check.h"
#include "tools/logtool/log_text.h"

namespace {

using browser_check::CheckLine;
using browser_check::outputOf;
using testing_support::filesStartingWith;
using testing_support::readFileBytes;

const std::string kSource = LOGTOOL_SOURCE_DIRECTORY;

// A log's columns by title, each field as a number ("true" 1, clocks in s),
// read plainly from either format.
std::map<std::string, std::vector<double>> readColumns(const std::string& bytes) {
  std::istringstream lines(bytes);
  std::string line;
  std::getline(lines, line);
  const bool comma = line.size() > 1 && line[line.size() - 2] == ';';
  const auto split = [comma](std::string text) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (const char c : text) {
      if (c == '"') {
        quoted = !quoted;
      } else if (c == (comma ? ';' : ',') && !quoted) {
        fields.emplace_back();
      } else {
        fields.back().push_back(comma && c == ',' ? '.' : c);
      }
    }
    return fields;
  };
  const std::vector<std::string> titles = split(line);
  std::map<std::string, std::vector<double>> columns;
  while (std::getline(lines, line)) {
    const std::vector<std::string> fields = split(line);
    for (std::size_t i = 0; i + 1 < titles.size(); ++i) {
      double value;
      if (fields[i] == "true" || fields[i] == "false") {
        value = fields[i] == "true";
      } else if (!logtool::parseClock(fields[i], &value)) {
        value = fields[i].empty() ? NAN : std::stod(fields[i]);
      }
      columns[titles[i]].push_back(value);
    }
  }
  return columns;
}

// The clocks at which the train came to a stand after moving.
std::vector<double> arrivals(const std::map<std::string, std::vector<double>>& log) {
  const std::vector<double>& speed = log.at("Speed km/h");
  std::vector<double> found;
  for (std::size_t i = 1; i < speed.size(); ++i) {
    if (speed[i] == 0 && speed[i - 1] > 0) found.push_back(log.at("Time")[i]);
  }
  return found;
}

// The highest value, empty fields left out.
double highest(const std::vector<double>& values) {
  double high = -INFINITY;
  for (const double value : values) high = std::isnan(value) ? high : std::max(high, value);
  return high;
}

class CompareBrowserTest : public browser_check::BrowserTest {
 protected:
  // Runs the scenario through simhost and the module; returns its log.
  std::string drive(const std::string& scenario, bool decimalComma) {
    const auto folder = directory_.path() / scenario;
    std::filesystem::create_directory(folder);
    std::filesystem::copy_file(LOGGER_MODULE, folder / "Logger.so");
    directory_.write(scenario + "/Logger.csv", readFileBytes(kSource + "/examples/Logger.csv"));
    directory_.write(
        scenario + "/Logger.ini",
        std::string("[Frame]\nSkip=60\n[Log]\nDecimalComma=") + (decimalComma ? "1" : "0") + "\n");
    outputOf("cd " + browser_check::quoted(folder) + " && " + SIMHOST_PROGRAM +
             " --quiet --module ./Logger.so --scenario " +
             browser_check::quoted(kSource + "/examples/" + scenario + ".scenario"));
    const auto logs = filesStartingWith(folder, "Log_");
    return logs.size() == 1 ? logs[0].string() : "";
  }
};

const CheckLine* line(const std::vector<CheckLine>& lines, const std::string& kind,
                      const std::string& chart, const std::string& field = "",
                      const std::string& value = "") {
  for (const CheckLine& check : lines) {
    if (check.words.size() >= 2 && check.words[0] == kind && check.words[1] == "chart-" + chart &&
        (field.empty() || (check.fields.count(field) && check.fields.at(field) == value))) {
      return &check;
    }
  }
  return nullptr;
}

TEST_F(CompareBrowserTest, TwoDrivesOfOneRouteSideBySide) {
  const std::string brisk = drive("route_run_brisk", false);
  const std::string gentle = drive("route_run_gentle", true);
  ASSERT_FALSE(brisk.empty());
  ASSERT_FALSE(gentle.empty());
  const auto page = directory_.path() / "compared.html";
  const std::string told =
      outputOf(std::string(LOGTOOL_PROGRAM) + " compare " + browser_check::quoted(brisk) + " " +
               browser_check::quoted(gentle) + " -o " + browser_check::quoted(page));
  ASSERT_EQ(told, "comparison: " + page.string() + "\n");
  const std::string dom = browser_check::renderedPage(page, directory_.path());
  const std::vector<CheckLine> lines = browser_check::selfCheck(dom);
  ASSERT_FALSE(lines.empty()) << "the page wrote no self-check";
  const std::map<std::string, std::vector<double>> logs[] = {readColumns(readFileBytes(brisk)),
                                                             readColumns(readFileBytes(gentle))};

  // The stops table: three stations, each with both runs' stops, the
  // gentle run's a few metres further on.
  std::vector<std::vector<std::string>> stations;
  for (std::size_t row = dom.find("<tr class=\"station\">"); row != std::string::npos;
       row = dom.find("<tr class=\"station\">", row + 1)) {
    std::vector<std::string> cells;
    const std::size_t end = dom.find("</tr>", row);
    for (std::size_t cell = dom.find("<td", row); cell < end; cell = dom.find("<td", cell + 1)) {
      const std::size_t open = dom.find('>', cell) + 1;
      cells.push_back(dom.substr(open, dom.find("</td>", open) - open));
    }
    stations.push_back(cells);
  }
  ASSERT_EQ(stations.size(), 3u);
  for (std::size_t s = 1; s < 3; ++s) {
    ASSERT_EQ(stations[s].size(), 9u) << "a stop missing at station " << s;
    const double apart = std::stod(stations[s][8]) - std::stod(stations[s][4]);
    EXPECT_GT(apart, 1) << stations[s][0];
    EXPECT_LT(apart, 50) << stations[s][0];
  }

  // The time difference at each station is the difference of the arrivals.
  const std::vector<double> arrived[] = {arrivals(logs[0]), arrivals(logs[1])};
  ASSERT_EQ(arrived[0].size(), 2u);
  ASSERT_EQ(arrived[1].size(), 2u);
  std::vector<double> atStations;
  for (const CheckLine& check : lines) {
    if (check.words[0] == "station" && check.words[1] == "chart-time-difference" &&
        check.fields.at("run") == "2") {
      atStations.push_back(check.number("value"));
    }
  }
  const std::vector<double> expected = {0, arrived[1][0] - arrived[0][0],
                                        arrived[1][1] - arrived[0][1]};
  EXPECT_EQ(atStations, expected);

  // Each chart's lines hold the logs' values, over the first run's stretch.
  const double first = logs[0].at("Location m").front(), last = logs[0].at("Location m").back();
  for (const char* chart : {"speed", "time-difference", "notches", "brake-cylinder"}) {
    const CheckLine* drawn = line(lines, "chart", chart);
    ASSERT_NE(drawn, nullptr) << chart;
    EXPECT_EQ(drawn->fields.at("canvas"), "1");
    EXPECT_NEAR(drawn->number("xmin"), first, 1e-6) << chart;
    EXPECT_NEAR(drawn->number("xmax"), last, 1e-6) << chart;
  }
  const std::pair<const char*, const char*> charted[] = {{"speed", "Speed km/h"},
                                                         {"brake-cylinder", "Brake cylinder kPa"}};
  for (int run = 0; run < 2; ++run) {
    const std::string number = std::to_string(run + 1);
    for (const auto& [chart, title] : charted) {
      const CheckLine* series = line(lines, "series", chart, "run", number);
      ASSERT_NE(series, nullptr) << chart << " " << number;
      EXPECT_EQ(series->number("max"), highest(logs[run].at(title))) << chart << " " << number;
      EXPECT_EQ(series->number("min"), 0) << chart << " " << number;
    }
    const double notches =
        std::max(highest(logs[run].at("Power notch")), highest(logs[run].at("Brake notch")));
    double drawnNotches = 0;
    for (const CheckLine& check : lines) {
      if (check.words[0] == "series" && check.words[1] == "chart-notches" &&
          check.fields.at("run") == number)
        drawnNotches = std::max(drawnNotches, check.number("max"));
    }
    EXPECT_EQ(drawnNotches, notches) << number;
    EXPECT_EQ(line(lines, "series", "time-difference", "run", number)->number("count"),
              line(lines, "series", "speed", "run", number)->number("count"));
  }

  // Pointing at the gentle run's line names it; each chart makes its PNG.
  const CheckLine* pointed = nullptr;
  for (const CheckLine& check : lines) {
    if (check.words[0] == "pointed") pointed = &check;
  }
  ASSERT_NE(pointed, nullptr);
  EXPECT_EQ(pointed->fields.at("shown"), pointed->fields.at("expected"));
  EXPECT_NE(pointed->fields.at("shown").find("run 2: "), std::string::npos);
  int images = 0;
  for (const CheckLine& check : lines) {
    if (check.words[0] != "png") continue;
    ++images;
    EXPECT_EQ(check.fields.at("button"), "1");
    EXPECT_EQ(check.fields.at("image"), "data:image/png;base64,");
    EXPECT_GT(check.number("height"), 200);
  }
  EXPECT_EQ(images, 4);
}

}  // namespace
