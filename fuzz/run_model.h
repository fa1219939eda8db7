// A model of a logging run, written from the log's rules and independent of
// the Logger's own state keeping: which frames are logged, what the value
// table holds, and the exact bytes each log file must hold.
#ifndef LOGGER_FUZZ_RUN_MODEL_H_
#define LOGGER_FUZZ_RUN_MODEL_H_

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "records/host_records.h"

namespace fuzzing {

class RunModel {
 public:
  // A run starts: the frame interval and the decimal mark from the settings
  // files' texts (absent when a file is missing), the columns from the
  // column file's bytes.
  void load(const std::optional<std::string>& sharedSettings,
            const std::optional<std::string>& moduleSettings,
            const std::optional<std::string>& columnFile);

  // The log the run writes at Dispose, if a run is open; the run ends.
  std::optional<std::string> dispose();

  // A frame: every interval-th one after the first run started is logged,
  // with the handles a chained plug-in returned (nullptr: none chained) and
  // the host's panel and sound arrays (nullptr: none handed over).
  void elapse(const VehicleState& state, const Handles* commanded = nullptr,
              const int32_t* panel = nullptr, const int32_t* sound = nullptr);

  // An event: the key's value text changes.
  void setText(const std::string& key, std::string text);

 private:
  std::map<std::string, std::string> values_;
  std::vector<std::string> columns_;
  std::string log_;
  bool runOpen_ = false;
  bool decimalComma_ = false;
  int32_t interval_ = 0;
  int64_t frames_ = 0;
  int32_t previousTime_ = 0;
  float previousSpeed_ = 0.0f;
};

// The text of a number as the log writes it.
std::string integerText(int32_t value);
std::string realText(double value);

}  // namespace fuzzing

#endif  // LOGGER_FUZZ_RUN_MODEL_H_
