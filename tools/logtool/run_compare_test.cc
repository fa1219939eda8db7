#include "tools/logtool/run_compare.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "tests/temporary_directory.h"
#include "tools/logtool/log_reader.h"
#include "tools/logtool/logtool.h"

namespace logtool {
namespace {

using testing_support::TemporaryDirectory;

// A run along a made-up line, one row a second: from the first stop's
// location to the last at speed km/h (towards falling locations when
// direction is -1), standing dwell seconds at each stop in between.
std::string routeLog(const std::vector<double>& stops, double speed, double dwell,
                     double startSeconds, int direction = 1,
                     const std::string& titles = "Time,Location m,Speed km/h,") {
  std::string text = titles + "\r\n";
  const auto row = [&](double seconds, double location, double kmh) {
    char line[96];
    std::snprintf(line, sizeof line, "%s,%.2f,%g,\r\n", formatClock(seconds).c_str(), location,
                  kmh);
    text += line;
  };
  double seconds = startSeconds;
  double location = stops.front();
  for (std::size_t next = 1; next < stops.size(); ++next) {
    for (int i = 0; i < dwell; ++i) row(seconds++, location, 0);
    while (direction * (stops[next] - location) > speed / 3.6) {
      location += direction * speed / 3.6;
      row(seconds++, location, speed);
    }
    location = stops[next];
  }
  for (int i = 0; i <= dwell; ++i) row(seconds++, location, 0);
  return text;
}

struct Logs {
  TemporaryDirectory directory;
  Logs() {
    directory.write("Logger.csv",
                    "time_hhmmss,Time\r\nlocation,Location m\r\nspeed,Speed km/h\r\n");
  }
  std::string write(const std::string& name, const std::string& text) {
    return directory.write(name, text).string();
  }
};

TEST(RunCompareTest, PairsStationsAndTimesEachRunAgainstTheFirst) {
  Logs logs;
  // The second run is slower and stops 4 m further on at each station.
  const std::string fast = logs.write("Log_fast.csv", routeLog({100, 1100, 2100}, 72, 20, 36000));
  const std::string slow = logs.write("Log_slow.csv", routeLog({100, 1104, 2104}, 54, 30, 36010));
  // Few buckets: the charts' points are groups of rows, the stops exact still.
  ScanOptions options;
  options.bucketLimit = 16;
  const Comparison comparison = compareRuns({fast, slow}, options);
  ASSERT_GE(comparison.runs[0].scan.rowsPerBucket, 8u);
  ASSERT_EQ(comparison.stations.size(), 3u);
  EXPECT_EQ(comparison.direction, 1);
  for (const Station& station : comparison.stations) {
    EXPECT_GE(station.stop[0], 0);
    EXPECT_GE(station.stop[1], 0);
  }
  // At each station the difference is that of the arrivals; on the way it grows.
  const RunOnRoute& second = comparison.runs[1];
  for (std::size_t s = 1; s < 3; ++s) {
    const Station& station = comparison.stations[s];
    const double arrivals =
        second.scan.summary.stops[static_cast<std::size_t>(station.stop[1])].arrival -
        comparison.runs[0].scan.summary.stops[static_cast<std::size_t>(station.stop[0])].arrival;
    bool found = false;
    for (std::size_t i = 0; i < second.timeDifferencePosition.size(); ++i) {
      if (second.timeDifferencePosition[i] != station.position) continue;
      EXPECT_DOUBLE_EQ(second.timeDifference[i], arrivals) << station.position;
      found = true;
    }
    EXPECT_TRUE(found) << station.position;
  }
  EXPECT_GT(second.timeDifference.back(), second.timeDifference.front() + 50);
  EXPECT_DOUBLE_EQ(comparison.sharedFrom, 100);
  EXPECT_DOUBLE_EQ(comparison.sharedTo, 2100);
}

// The same run read as itself in the other number format: no difference anywhere.
TEST(RunCompareTest, ARunAgainstItselfDiffersNowhere) {
  Logs logs;
  const std::string log = logs.write("Log_a.csv", routeLog({0, 900, 1500, 2600}, 80, 25, 3600));
  std::ostringstream out, err;
  ASSERT_EQ(runLogtool({"convert", log, "--decimal-comma"}, out, err, false), kDone) << err.str();
  const std::string comma = (logs.directory.path() / "Log_a.decimal-comma.csv").string();
  const Comparison comparison = compareRuns({log, comma}, ScanOptions{});
  ASSERT_EQ(comparison.stations.size(), 4u);
  ASSERT_FALSE(comparison.runs[1].timeDifference.empty());
  for (const double difference : comparison.runs[1].timeDifference) EXPECT_EQ(difference, 0);
  EXPECT_EQ(comparison.runs[0].speed, comparison.runs[1].speed);
}

// Trains running towards falling locations, one over a longer stretch and
// with a stop the other did not make: only the shared stretch is compared.
TEST(RunCompareTest, ComparesRunsGoingDownOverTheStretchTheyShare) {
  Logs logs;
  const std::string longer =
      logs.write("Log_1.csv", routeLog({5000, 4000, 3500, 2000}, 60, 20, 0, -1));
  const std::string shorter = logs.write("Log_2.csv", routeLog({4500, 3510, 2500}, 90, 20, 0, -1));
  const Comparison comparison = compareRuns({longer, shorter}, ScanOptions{});
  EXPECT_EQ(comparison.direction, -1);
  // The second run's stop at 3510 is the first run's 3500: its whole run
  // moves by those 10 m into the first run's measure.
  EXPECT_DOUBLE_EQ(locationAt(comparison, comparison.sharedFrom), 4490);
  EXPECT_DOUBLE_EQ(locationAt(comparison, comparison.sharedTo), 2490);
  // 5000, 4000 and 2000 the first run's alone, 3500 / 3510 shared, 4500 and 2500
  // the second's alone (moved by 10 m too).
  std::vector<std::pair<double, std::vector<int>>> stations;
  for (const Station& station : comparison.stations)
    stations.emplace_back(locationAt(comparison, station.position), station.stop);
  const std::vector<std::pair<double, std::vector<int>>> expected = {
      {5000, {0, -1}}, {4490, {-1, 0}}, {4000, {1, -1}},
      {3500, {2, 1}},  {2490, {-1, 2}}, {2000, {3, -1}}};
  EXPECT_EQ(stations, expected);
  for (const RunOnRoute& run : comparison.runs) {
    for (const double position : run.position) {
      EXPECT_GE(position, comparison.sharedFrom);
      EXPECT_LE(position, comparison.sharedTo);
    }
  }
}

// Logs with their own column files, titles in Shift_JIS and in UTF-8, one
// row a second and one every other second, one in decimal commas.
TEST(RunCompareTest, ComparesLogsOfOtherColumnsEncodingsAndIntervals) {
  TemporaryDirectory sjis, utf8;
  // "Jikoku", "Ichi m", "Sokudo km/h" in Shift_JIS, and in another order in UTF-8.
  const std::string sjisTitles = "\x8e\x9e\x8d\x8f,\x88\xca\x92\x75 m,\x91\xac\x93\x78 km/h,";
  sjis.write("Logger.csv",
             "time_hhmmss,\x8e\x9e\x8d\x8f\r\nlocation,\x88\xca\x92\x75 m\r\n"
             "speed,\x91\xac\x93\x78 km/h\r\n");
  const std::string first =
      sjis.write("Log_1.csv", routeLog({0, 800, 1600}, 72, 20, 100, 1, sjisTitles)).string();
  utf8.write("Logger.csv",
             "time_hhmmss,\xe6\x99\x82\xe5\x88\xbb\r\nlocation,\xe4\xbd\x8d\xe7\xbd\xae "
             "m\r\nspeed,\xe9\x80\x9f\xe5\xba\xa6 km/h\r\n");
  std::istringstream rows(routeLog({0, 805, 1610}, 60, 20, 100, 1,
                                   "\xe6\x99\x82\xe5\x88\xbb,\xe4\xbd\x8d\xe7\xbd\xae m,"
                                   "\xe9\x80\x9f\xe5\xba\xa6 km/h,"));
  std::string everyOther, row;
  for (int i = 0; std::getline(rows, row); ++i) {
    if (i < 2 || i % 2 == 0) everyOther += row + "\n";
  }
  const std::string point = utf8.write("Log_2p.csv", everyOther).string();
  std::ostringstream out, err;
  ASSERT_EQ(
      runLogtool({"convert", point, "--decimal-comma", "-o", (utf8.path() / "Log_2.csv").string()},
                 out, err, false),
      kDone)
      << err.str();
  std::filesystem::remove(point);
  const Comparison comparison =
      compareRuns({first, (utf8.path() / "Log_2.csv").string()}, ScanOptions{});
  ASSERT_EQ(comparison.stations.size(), 3u);
  for (std::size_t s = 0; s < comparison.stations.size(); ++s) {
    const int stop = static_cast<int>(s);
    EXPECT_EQ(comparison.stations[s].stop, (std::vector<int>{stop, stop}));
  }
  EXPECT_FALSE(comparison.runs[1].speed.empty());
  EXPECT_EQ(comparison.runs[1].scan.mark, DecimalMark::kComma);
  EXPECT_GT(comparison.runs[1].timeDifference.back(), 0);
}

TEST(RunCompareTest, RefusesLogsItCannotCompareSayingWhy) {
  Logs logs;
  const std::string up = logs.write("Log_up.csv", routeLog({0, 1000}, 60, 5, 0));
  const std::string down = logs.write("Log_down.csv", routeLog({1000, 0}, 60, 5, 0, -1));
  const std::string far = logs.write("Log_far.csv", routeLog({5000, 6000}, 60, 5, 0));
  const std::string still = logs.write("Log_still.csv", routeLog({7, 7}, 60, 5, 0));
  TemporaryDirectory bare;  // no column file: titles name no key
  const std::string noLocation =
      bare.write("Log_x.csv", "Time,Speed,\r\n00:00:01.000,3,\r\n00:00:02.000,4,\r\n").string();
  const std::string noClock =
      bare.write("Log_y.csv", "Location,Speed,\r\n1,3,\r\n2,4,\r\n").string();
  const std::string noTimes =
      logs.write("Log_z.csv", "Time,Location m,Speed km/h,\r\n,0,0,\r\n,10,36,\r\n");
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{up, down},
       down + ": runs the other way (location falling) from " + up +
           "; runs are compared only when they all go the same way"},
      {{up, far},
       far + ": shares no stretch of route with " + up +
           " (it runs 5000.0 m to 6000.0 m, the first run 0.0 m to 1000.0 m)"},
      {{up, still}, still + ": the location never changes: no route to compare"},
      {{up, noLocation},
       noLocation + ": has no location column; runs are compared along the route"},
      {{noClock, up}, noClock + ": has no clock or time column; runs are compared by their times"},
      {{up, noTimes}, noTimes + ": has no two rows with both a time and a location"},
      {{up}, "logtool: compare needs two logs or more"},
      {{up, down, "-o", up}, up + ": is the log " + up + " itself; the page would replace it"},
  };
  for (const auto& [logsGiven, message] : cases) {
    std::vector<std::string> arguments = {"compare"};
    arguments.insert(arguments.end(), logsGiven.begin(), logsGiven.end());
    std::ostringstream out, err;
    EXPECT_EQ(runLogtool(arguments, out, err, false), kBadInput) << message;
    EXPECT_EQ(err.str().substr(0, message.size() + 1), message + "\n") << err.str();
  }
}

}  // namespace
}  // namespace logtool
