// The row path written the way most code is: a std::map from key text to
// value text, a fresh std::ostringstream for every value, one growing
// std::string for the whole log. The benchmarks measure it beside the module
// in the same run. Its texts match the module's except where plain one-step
// rounding to six digits differs from the module's two-step rule.
#ifndef LOGGER_BENCH_REFERENCE_LOGGER_H_
#define LOGGER_BENCH_REFERENCE_LOGGER_H_

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "records/host_records.h"

namespace bench {

// Each formats one value with a fresh string stream, as the log writes it.
std::string referenceInteger(int32_t value);
std::string referenceFloat(float value);
std::string referenceDouble(double value);
std::string referenceClockText(int32_t milliseconds);

class ReferenceLogger {
 public:
  // Starts a run: drops the log held, writes the header row of columns.
  void load(const std::vector<std::string>& columns, int32_t interval);

  // Writes the log into a new file at path and drops it.
  void dispose(const std::string& path);

  // Counts a frame, logs a row on every interval-th; returns the handles.
  Handles elapse(const VehicleState& state);

  // The events, each storing its value's text.
  void setPower(int32_t notch);
  void setBrake(int32_t notch);
  void setReverser(int32_t position);
  void setSignal(int32_t signal);
  void doorClose();
  void setBeaconData(const BeaconData& beacon);

  // The log's size in bytes.
  std::size_t logSize() const { return log_.size(); }

 private:
  void logFrame(const VehicleState& state);
  void appendRow();

  std::map<std::string, std::string> values_;
  std::vector<std::string> columns_;
  std::string log_;
  int32_t counter_ = 0;
  int32_t interval_ = 1;
  int32_t previousTime_ = 0;
  float previousSpeed_ = 0.0f;
  Handles handles_ = {0, 0, 0, 0};
};

}  // namespace bench

#endif  // LOGGER_BENCH_REFERENCE_LOGGER_H_
