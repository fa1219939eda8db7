// The run in a few figures, gathered row by row over the whole log: its
// clock, length, distance, speeds and stops.
#ifndef LOGGER_TOOLS_LOGTOOL_RUN_SUMMARY_H_
#define LOGGER_TOOLS_LOGTOOL_RUN_SUMMARY_H_

#include <cmath>
#include <string>
#include <vector>

#include "tools/logtool/ui_text.h"

namespace logtool {

// What the summary reads from one row; NaN where the log has no such value.
struct RowFacts {
  double time = NAN;      // simulation time, s
  double location = NAN;  // m
  double speed = NAN;     // km/h
  int doorsClosed = -1;   // 1 closed, 0 open, -1 not known
};

// One stop: the train stood still from arrival to departure.
struct Stop {
  double arrival = NAN;    // s; NaN when it stood there when the log began
  double departure = NAN;  // s; NaN when it still stood there when the log ended
  double location = NAN;   // m
  bool doorsOpened = false;
  bool doorsKnown = false;  // false when the log holds no door state
  // The stop's dwell, from the first to the last row standing, s.
  double dwell(double logStart, double logEnd) const {
    return (std::isnan(departure) ? logEnd : departure) -
           (std::isnan(arrival) ? logStart : arrival);
  }
};

struct RunSummary {
  long rows = 0;
  double start = NAN;        // the first row's time, s
  double end = NAN;          // the last row's time, s
  double distance = 0;       // m, from the location, else from the speed
  double topSpeed = NAN;     // km/h, the greatest |speed|; NaN when no row has a speed
  double movingSpeed = NAN;  // km/h, average over the time the train moved
  bool hasLocation = false;
  std::vector<Stop> stops;
};

// Below this speed in km/h the train stands.
constexpr double kStandingSpeed = 0.01;

// Gathers the summary from every row in order.
class SummaryBuilder {
 public:
  // Takes one row's facts.
  void add(const RowFacts& row);
  // The summary of the rows taken; the last stop stays open if the train
  // still stood.
  const RunSummary& summary() const { return summary_; }

 private:
  void standingRow(const RowFacts& row);
  RunSummary summary_;
  RowFacts previous_;
  bool standing_ = false;
  double movingTime_ = 0;
  double movingDistance_ = 0;
};

// The summary as the lines `logtool summary` prints.
std::string formatSummary(const RunSummary& summary, Language language = Language::kEnglish);

// A stop's fields as the summary and the report's stop table show them:
// arrival, departure, dwell, position, doors.
std::vector<std::string> stopFields(const Stop& stop, const RunSummary& summary,
                                    Language language = Language::kEnglish);

}  // namespace logtool

#endif  // LOGGER_TOOLS_LOGTOOL_RUN_SUMMARY_H_
