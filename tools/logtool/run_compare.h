// Runs of one route set side by side on the route's own axis: each run's
// points by location, its stops paired with the other runs' into stations,
// and its time difference to the first run along the stretch all share.
#ifndef LOGGER_TOOLS_LOGTOOL_RUN_COMPARE_H_
#define LOGGER_TOOLS_LOGTOOL_RUN_COMPARE_H_

#include <string>
#include <vector>

#include "tools/logtool/run_scan.h"

namespace logtool {

// Stops of different runs this close, in m, are one station.
constexpr double kStationTolerance = 50;

// One run over the shared stretch. Positions are the distance along the
// direction of travel in the first run's measure: the location times the
// direction, moved so that each station this run shares with the first run
// lies where the first run stopped (piecewise linear in between).
struct RunOnRoute {
  ScannedRun scan;
  std::vector<double> position;  // per point, non-decreasing
  // Per point; empty when the log lacks the column.
  std::vector<double> speed, power, brake, brakeCylinder;
  // Where this run first reached each position it is known at, and by how
  // many s later than the first run (negative: ahead of it).
  std::vector<double> timeDifferencePosition, timeDifference;
};

// A place where at least one run stopped.
struct Station {
  double position;        // where the first run that stopped there stood, as a position
  std::vector<int> stop;  // per run: its stop here (index into its stops), or -1
};

struct Comparison {
  std::vector<RunOnRoute> runs;
  int direction = 1;                    // 1: location grows as the trains run, -1: it falls
  double sharedFrom = 0, sharedTo = 0;  // the shared stretch, as positions
  std::vector<Station> stations;        // by position
};

// Reads the logs (with the options' column file; its points always) and compares them. Throws
// InputError ("FILE: what is wrong") for a log without a clock or location,
// one that does not move, one going the other way from the first, and one
// that shares no stretch of route with the others.
Comparison compareRuns(const std::vector<std::string>& logs, const ScanOptions& options);

// The location a position stands for.
inline double locationAt(const Comparison& comparison, double position) {
  return comparison.direction * position;
}

}  // namespace logtool

#endif  // LOGGER_TOOLS_LOGTOOL_RUN_COMPARE_H_
