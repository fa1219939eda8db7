#include "tools/logtool/run_summary.h"

#include <cstdio>

#include "tools/logtool/log_text.h"

namespace logtool {
namespace {

std::string formatted(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string duration(double seconds) {
  if (std::isnan(seconds)) return "unknown";
  const long long total = std::llround(seconds);
  char text[64];
  if (total >= 3600) {
    std::snprintf(text, sizeof text, "%lldh %02lldmin %02llds (%.3f s)", total / 3600,
                  total / 60 % 60, total % 60, seconds);
  } else if (total >= 60) {
    std::snprintf(text, sizeof text, "%lldmin %02llds (%.3f s)", total / 60, total % 60, seconds);
  } else {
    std::snprintf(text, sizeof text, "%.3f s", seconds);
  }
  return text;
}

std::string clockOrUnknown(double seconds) {
  return std::isnan(seconds) ? "unknown" : formatClock(seconds);
}

}  // namespace

void SummaryBuilder::add(const RowFacts& row) {
  RunSummary& s = summary_;
  if (s.rows == 0) s.start = row.time;
  s.end = row.time;
  if (!std::isnan(row.speed) && !(std::fabs(row.speed) <= s.topSpeed)) {
    s.topSpeed = std::fabs(row.speed);
  }
  if (!std::isnan(row.location)) s.hasLocation = true;
  if (s.rows > 0) {
    const double dt = row.time - previous_.time;
    double dx = std::fabs(row.location - previous_.location);
    if (std::isnan(dx)) dx = (std::fabs(row.speed) + std::fabs(previous_.speed)) / 2 / 3.6 * dt;
    if (std::isfinite(dx)) s.distance += dx;
    const bool moved =
        std::fabs(row.speed) >= kStandingSpeed || std::fabs(previous_.speed) >= kStandingSpeed;
    if (moved && std::isfinite(dt) && std::isfinite(dx)) {
      movingTime_ += dt;
      movingDistance_ += dx;
    }
    if (movingTime_ > 0) s.movingSpeed = movingDistance_ / movingTime_ * 3.6;
  }
  const bool standsNow = !std::isnan(row.speed) && std::fabs(row.speed) < kStandingSpeed;
  if (standsNow) {
    standingRow(row);
  } else if (standing_) {
    s.stops.back().departure = previous_.time;
    standing_ = false;
  }
  previous_ = row;
  ++s.rows;
}

void SummaryBuilder::standingRow(const RowFacts& row) {
  if (!standing_) {
    Stop stop;
    if (summary_.rows > 0) stop.arrival = row.time;
    stop.location = row.location;
    summary_.stops.push_back(stop);
    standing_ = true;
  }
  Stop& stop = summary_.stops.back();
  if (row.doorsClosed >= 0) stop.doorsKnown = true;
  if (row.doorsClosed == 0) stop.doorsOpened = true;
}

std::vector<std::string> stopFields(const Stop& stop, const RunSummary& summary) {
  const std::string doors = !stop.doorsKnown
                                ? "doors unknown"
                                : (stop.doorsOpened ? "doors opened" : "doors stayed closed");
  // A time a stop lacks is the log's start or end, when the log has times.
  const bool timed = !std::isnan(summary.start) || !std::isnan(summary.end);
  const auto moment = [timed](double time, const char* edge) {
    return !std::isnan(time) ? formatClock(time) : timed ? edge : "unknown";
  };
  const double dwell = stop.dwell(summary.start, summary.end);
  return {moment(stop.arrival, "at the start"), moment(stop.departure, "at the end"),
          std::isnan(dwell) ? "unknown" : formatted("%.0f s", dwell),
          std::isnan(stop.location) ? "unknown" : formatted("%.1f m", stop.location), doors};
}

std::string formatSummary(const RunSummary& s) {
  std::string text;
  text += "start:        " + clockOrUnknown(s.start) + "\n";
  text += "end:          " + clockOrUnknown(s.end) + "\n";
  text += "duration:     " + duration(s.end - s.start) + "\n";
  text += "rows:         " + std::to_string(s.rows) + "\n";
  const bool hasSpeed = !std::isnan(s.topSpeed);
  const bool knowsDistance = s.hasLocation || hasSpeed;
  text += "distance:     " + (knowsDistance ? formatted("%.1f m", s.distance) : "unknown") + "\n";
  text += "top speed:    " + (hasSpeed ? formatted("%.1f km/h", s.topSpeed) : "unknown") + "\n";
  text += "moving speed: " +
          (std::isnan(s.movingSpeed) ? "unknown" : formatted("%.1f km/h", s.movingSpeed)) +
          " (average while moving)\n";
  text += "stops:        " + std::to_string(s.stops.size()) + "\n";
  for (std::size_t i = 0; i < s.stops.size(); ++i) {
    const std::vector<std::string> f = stopFields(s.stops[i], s);
    text += "  stop " + std::to_string(i + 1) + ": arrived " + f[0] + ", departed " + f[1] +
            ", dwell " + f[2] + ", at " + f[3] + ", " + f[4] + "\n";
  }
  return text;
}

}  // namespace logtool
