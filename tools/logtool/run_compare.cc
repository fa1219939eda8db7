#include "tools/logtool/run_compare.h"

#include <algorithm>
#include <cmath>
#include <future>
#include <iterator>

#include "tools/logtool/log_reader.h"

namespace logtool {
namespace {

// A run as read: its points by its own position (the location times the
// direction, never going back), and its stops' positions.
struct OwnRun {
  ScannedRun scan;
  std::vector<std::size_t> points;   // the points that have a location
  std::vector<double> position;      // per kept point
  std::vector<double> stopPosition;  // per stop; NaN without a location
};

ScannedRun readRun(const std::string& log, const ScanOptions& options) {
  ScannedRun run = scanRun(log, options);
  if (run.timeTitle.empty()) {
    throw InputError(log, 0, "has no clock or time column; runs are compared by their times");
  }
  if (!run.summary.hasLocation) {
    throw InputError(log, 0, "has no location column; runs are compared along the route");
  }
  return run;
}

// 1 when the run's location grows, -1 when it falls; 0 when it stays.
int directionOf(const ScannedRun& run) {
  const std::vector<double>& location = run.points.location;
  const auto finite = [](double x) { return std::isfinite(x); };
  const auto first = std::find_if(location.begin(), location.end(), finite);
  const auto last = std::find_if(location.rbegin(), location.rend(), finite);
  if (first == location.end() || *last == *first) return 0;
  return *last > *first ? 1 : -1;
}

OwnRun placeRun(ScannedRun scan, int direction) {
  OwnRun run;
  double furthest = -INFINITY;
  for (std::size_t i = 0; i < scan.points.location.size(); ++i) {
    const double location = scan.points.location[i];
    if (!std::isfinite(location) || !std::isfinite(scan.points.time[i])) continue;
    furthest = std::max(furthest, direction * location);
    run.points.push_back(i);
    run.position.push_back(furthest);
  }
  for (const Stop& stop : scan.summary.stops) run.stopPosition.push_back(direction * stop.location);
  run.scan = std::move(scan);
  return run;
}

// Pairs the runs' stops into stations: each stop goes to the nearest station
// within the tolerance that this run has not stopped at yet, else it makes a
// new one.
std::vector<Station> pairStops(const std::vector<OwnRun>& runs) {
  std::vector<Station> stations;  // kept in position order
  const auto before = [](const Station& station, double position) {
    return station.position < position;
  };
  for (std::size_t r = 0; r < runs.size(); ++r) {
    for (std::size_t s = 0; s < runs[r].stopPosition.size(); ++s) {
      const double position = runs[r].stopPosition[s];
      if (std::isnan(position)) continue;
      auto nearest = stations.end();
      for (auto station = std::lower_bound(stations.begin(), stations.end(),
                                           position - kStationTolerance, before);
           station != stations.end() && station->position <= position + kStationTolerance;
           ++station) {
        if (station->stop[r] < 0 &&
            (nearest == stations.end() ||
             std::fabs(station->position - position) < std::fabs(nearest->position - position))) {
          nearest = station;
        }
      }
      if (nearest == stations.end()) {
        nearest =
            stations.insert(std::lower_bound(stations.begin(), stations.end(), position, before),
                            Station{position, std::vector<int>(runs.size(), -1)});
      }
      nearest->stop[r] = static_cast<int>(s);
    }
  }
  return stations;
}

// The first run that stopped at station.
std::size_t firstToStop(const Station& station) {
  std::size_t run = 0;
  while (station.stop[run] < 0) ++run;
  return run;
}

// Moves a run's own positions onto the first run's measure: the stations
// both stopped at line up; between them linear, beyond them shifted.
class PositionMap {
 public:
  PositionMap(const std::vector<Station>& stations, const std::vector<OwnRun>& runs,
              std::size_t run) {
    for (const Station& station : stations) {
      if (station.stop[0] < 0 || station.stop[run] < 0) continue;
      knots_.emplace_back(runs[run].stopPosition[static_cast<std::size_t>(station.stop[run])],
                          runs[0].stopPosition[static_cast<std::size_t>(station.stop[0])]);
    }
  }
  double operator()(double own) const {
    if (knots_.empty()) return own;
    // At a knot exactly its partner, so that paired stops meet to the bit.
    if (own <= knots_.front().first) return shifted(own, knots_.front());
    if (own >= knots_.back().first) return shifted(own, knots_.back());
    const auto after = std::upper_bound(knots_.begin(), knots_.end(), own,
                                        [](double x, const auto& knot) { return x < knot.first; });
    const auto before = std::prev(after);
    const double share = (own - before->first) / (after->first - before->first);
    return before->second + share * (after->second - before->second);
  }

 private:
  static double shifted(double own, const std::pair<double, double>& knot) {
    return own == knot.first ? knot.second : own + (knot.second - knot.first);
  }
  std::vector<std::pair<double, double>> knots_;  // own position, the first run's
};

// When a run reached each position and, where it stopped, left it again:
// rising positions with their times, from its points and its stops' exact
// arrivals and departures (a stop is two entries at one position).
class ArrivalTable {
 public:
  ArrivalTable(const OwnRun& run, const std::vector<double>& mapped, const PositionMap& map) {
    std::vector<std::pair<double, double>> passes;  // time, position
    for (std::size_t i = 0; i < mapped.size(); ++i) {
      passes.emplace_back(run.scan.points.time[run.points[i]], mapped[i]);
    }
    const std::vector<Stop>& stops = run.scan.summary.stops;
    for (std::size_t s = 0; s < stops.size(); ++s) {
      if (!std::isnan(stops[s].arrival) && !std::isnan(run.stopPosition[s]))
        passes.emplace_back(stops[s].arrival, map(run.stopPosition[s]));
    }
    std::stable_sort(passes.begin(), passes.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [time, position] : passes) {
      if (position_.empty() || position > position_.back()) {
        position_.push_back(position);
        time_.push_back(time);
      }
    }
    // Each stop's departure follows its arrival's entry, at the same position.
    std::vector<std::pair<double, double>> departures;  // position, time
    for (std::size_t s = 0; s < stops.size(); ++s) {
      if (!std::isnan(stops[s].departure) && !std::isnan(run.stopPosition[s]))
        departures.emplace_back(map(run.stopPosition[s]), stops[s].departure);
    }
    std::sort(departures.begin(), departures.end());
    std::vector<double> positions, times;
    auto departure = departures.begin();
    for (std::size_t i = 0; i < position_.size(); ++i) {
      positions.push_back(position_[i]);
      times.push_back(time_[i]);
      while (departure != departures.end() && departure->first < position_[i]) ++departure;
      if (departure != departures.end() && departure->first == position_[i]) {
        positions.push_back(position_[i]);
        times.push_back(departure++->second);
      }
    }
    position_.swap(positions);
    time_.swap(times);
  }
  const std::vector<double>& positions() const { return position_; }
  // When the run reached position: linear between the entries, the arrival
  // at a stop's own position; NaN outside the entries.
  double timeAt(double position) const {
    if (position_.empty() || position < position_.front() || position > position_.back())
      return NAN;
    const auto reached = std::lower_bound(position_.begin(), position_.end(), position);
    const auto i = static_cast<std::size_t>(reached - position_.begin());
    if (*reached == position) return time_[i];
    const double share = (position - position_[i - 1]) / (position_[i] - position_[i - 1]);
    return time_[i - 1] + share * (time_[i] - time_[i - 1]);
  }

 private:
  std::vector<double> position_, time_;
};

std::string rangeText(const std::vector<double>& mapped, int direction) {
  char text[96];
  std::snprintf(text, sizeof text, "%.1f m to %.1f m", direction * mapped.front(),
                direction * mapped.back());
  return text;
}

// The run's charted values of key at its kept points; empty without them.
std::vector<double> valuesOf(const OwnRun& run, ColumnKey key,
                             const std::vector<std::size_t>& kept) {
  const std::vector<double>* series = chartedSeries(run.scan, key);
  std::vector<double> values;
  if (!series) return values;
  for (const std::size_t i : kept) values.push_back((*series)[run.points[i]]);
  return values;
}

// Reads the logs side by side, one thread each, with the columns a comparison draws.
std::vector<ScannedRun> readRuns(const std::vector<std::string>& logs, const ScanOptions& options) {
  ScanOptions quiet = options;
  quiet.progress = nullptr;
  quiet.charts = true;
  quiet.chartKeys = {ColumnKey::kSpeed, ColumnKey::kPower, ColumnKey::kBrake,
                     ColumnKey::kBrakeCylinder};
  std::vector<std::future<ScannedRun>> reading;
  for (const std::string& log : logs) {
    reading.push_back(
        std::async(std::launch::async, [&quiet, log] { return readRun(log, quiet); }));
  }
  std::vector<ScannedRun> scans;
  for (auto& read : reading) scans.push_back(read.get());
  return scans;
}

// Places each run on its own positions; all must run the first one's way.
std::vector<OwnRun> placeRuns(std::vector<ScannedRun> scans, const std::vector<std::string>& logs,
                              int* direction) {
  std::vector<OwnRun> runs;
  for (std::size_t r = 0; r < scans.size(); ++r) {
    const int own = directionOf(scans[r]);
    if (own == 0) throw InputError(logs[r], 0, "the location never changes: no route to compare");
    if (r == 0) *direction = own;
    if (own != *direction) {
      throw InputError(logs[r], 0,
                       std::string("runs the other way (location ") +
                           (own > 0 ? "rising" : "falling") + ") from " + logs[0] +
                           "; runs are compared only when they all go the same way");
    }
    runs.push_back(placeRun(std::move(scans[r]), own));
    if (runs.back().position.size() < 2) {
      throw InputError(logs[r], 0, "has no two rows with both a time and a location");
    }
  }
  return runs;
}

}  // namespace

Comparison compareRuns(const std::vector<std::string>& logs, const ScanOptions& options) {
  Comparison comparison;
  std::vector<OwnRun> runs = placeRuns(readRuns(logs, options), logs, &comparison.direction);
  comparison.stations = pairStops(runs);

  std::vector<std::vector<double>> mapped(runs.size());
  std::vector<ArrivalTable> arrivals;
  comparison.sharedFrom = -INFINITY;
  comparison.sharedTo = INFINITY;
  for (std::size_t r = 0; r < runs.size(); ++r) {
    const PositionMap map(comparison.stations, runs, r);
    for (const double own : runs[r].position) mapped[r].push_back(map(own));
    arrivals.emplace_back(runs[r], mapped[r], map);
    // A station the first run passed by lies where the first run to stop there stood.
    for (Station& station : comparison.stations) {
      if (r > 0 && firstToStop(station) == r) station.position = map(station.position);
    }
    const double from = std::max(comparison.sharedFrom, mapped[r].front());
    const double to = std::min(comparison.sharedTo, mapped[r].back());
    if (from >= to) {
      throw InputError(logs[r], 0,
                       "shares no stretch of route with " + logs[0] + " (it runs " +
                           rangeText(mapped[r], comparison.direction) + ", the first run " +
                           rangeText(mapped[0], comparison.direction) + ")");
    }
    comparison.sharedFrom = from;
    comparison.sharedTo = to;
  }

  std::sort(comparison.stations.begin(), comparison.stations.end(),
            [](const Station& a, const Station& b) { return a.position < b.position; });
  for (std::size_t r = 0; r < runs.size(); ++r) {
    RunOnRoute run;
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i < mapped[r].size(); ++i) {
      if (mapped[r][i] < comparison.sharedFrom || mapped[r][i] > comparison.sharedTo) continue;
      kept.push_back(i);
      run.position.push_back(mapped[r][i]);
    }
    run.speed = valuesOf(runs[r], ColumnKey::kSpeed, kept);
    run.power = valuesOf(runs[r], ColumnKey::kPower, kept);
    run.brake = valuesOf(runs[r], ColumnKey::kBrake, kept);
    run.brakeCylinder = valuesOf(runs[r], ColumnKey::kBrakeCylinder, kept);
    run.scan = std::move(runs[r].scan);
    comparison.runs.push_back(std::move(run));
  }
  // The time difference is drawn at the positions each run's arrivals know.
  for (std::size_t r = 0; r < arrivals.size(); ++r) {
    std::vector<double>& positions = comparison.runs[r].timeDifferencePosition;
    for (const double position : arrivals[r].positions()) {
      if (position < comparison.sharedFrom || position > comparison.sharedTo) continue;
      if (!positions.empty() && positions.back() == position) continue;  // a stop's departure
      positions.push_back(position);
      comparison.runs[r].timeDifference.push_back(arrivals[r].timeAt(position) -
                                                  arrivals[0].timeAt(position));
    }
  }
  return comparison;
}

}  // namespace logtool
