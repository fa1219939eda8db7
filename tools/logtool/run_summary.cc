#include "tools/logtool/run_summary.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "tools/logtool/log_text.h"

namespace logtool {
namespace {

std::string formatted(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string duration(double seconds, Language language) {
  if (std::isnan(seconds)) return uiText(UiText::kUnknown, language);
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

std::string clockOrUnknown(double seconds, Language language) {
  return std::isnan(seconds) ? uiText(UiText::kUnknown, language) : formatClock(seconds);
}

// The columns text takes on a terminal: two for a character outside ASCII.
std::size_t displayWidth(std::string_view text) {
  std::size_t width = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      ++width;
    } else if (byte >= 0xC0) {
      width += 2;
    }
  }
  return width;
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

std::vector<std::string> stopFields(const Stop& stop, const RunSummary& summary,
                                    Language language) {
  const UiText doors = !stop.doorsKnown   ? UiText::kDoorsUnknown
                       : stop.doorsOpened ? UiText::kDoorsOpened
                                          : UiText::kDoorsStayedClosed;
  const std::string unknown = uiText(UiText::kUnknown, language);
  // A time a stop lacks is the log's start or end, when the log has times.
  const bool timed = !std::isnan(summary.start) || !std::isnan(summary.end);
  const auto moment = [&](double time, UiText edge) {
    return !std::isnan(time) ? formatClock(time) : timed ? uiText(edge, language) : unknown;
  };
  const double dwell = stop.dwell(summary.start, summary.end);
  return {moment(stop.arrival, UiText::kAtTheStart), moment(stop.departure, UiText::kAtTheEnd),
          std::isnan(dwell) ? unknown : formatted("%.0f s", dwell),
          std::isnan(stop.location) ? unknown : formatted("%.1f m", stop.location),
          uiText(doors, language)};
}

std::string formatSummary(const RunSummary& s, Language language) {
  const std::string unknown = uiText(UiText::kUnknown, language);
  const bool hasSpeed = !std::isnan(s.topSpeed);
  const bool knowsDistance = s.hasLocation || hasSpeed;
  const std::vector<std::pair<UiText, std::string>> lines = {
      {UiText::kStart, clockOrUnknown(s.start, language)},
      {UiText::kEnd, clockOrUnknown(s.end, language)},
      {UiText::kDuration, duration(s.end - s.start, language)},
      {UiText::kRows, std::to_string(s.rows)},
      {UiText::kDistance, knowsDistance ? formatted("%.1f m", s.distance) : unknown},
      {UiText::kTopSpeed, hasSpeed ? formatted("%.1f km/h", s.topSpeed) : unknown},
      {UiText::kMovingSpeed,
       (std::isnan(s.movingSpeed) ? unknown : formatted("%.1f km/h", s.movingSpeed)) + " " +
           uiText(UiText::kAverageWhileMoving, language)},
      {UiText::kStops, std::to_string(s.stops.size())},
  };
  std::size_t labelWidth = 0;
  for (const auto& line : lines) {
    labelWidth = std::max(labelWidth, displayWidth(uiText(line.first, language)) + 2);
  }
  std::string text;
  for (const auto& [label, value] : lines) {
    const std::string shown = std::string(uiText(label, language)) + ":";
    text += shown + std::string(labelWidth - displayWidth(shown), ' ') + value + "\n";
  }
  for (std::size_t i = 0; i < s.stops.size(); ++i) {
    std::vector<std::string> fields = stopFields(s.stops[i], s, language);
    fields.insert(fields.begin(), std::to_string(i + 1));
    text += "  " + fillText(UiText::kStopLine, language, fields) + "\n";
  }
  return text;
}

}  // namespace logtool
