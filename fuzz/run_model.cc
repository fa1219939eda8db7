#include "fuzz/run_model.h"

#include <algorithm>

#include "fuzz/expected_columns.h"
#include "logger/format_value.h"
#include "platform/ini_text.h"
#include "settings/logger_settings.h"

namespace fuzzing {
namespace {

std::string clockText(int32_t milliseconds) {
  char text[logger::kValueTextCapacity];
  return std::string(text, logger::formatClockText(milliseconds, text));
}

int32_t intervalFrom(const std::optional<std::string>& settings, int32_t interval) {
  if (!settings) return interval;
  return platform::findIniInt(*settings, settings::kSection, settings::kIntervalKey, interval);
}

}  // namespace

std::string integerText(int32_t value) {
  char text[logger::kValueTextCapacity];
  return std::string(text, logger::formatInteger(value, text));
}

std::string realText(double value) {
  char text[logger::kValueTextCapacity];
  return std::string(text, logger::formatDouble(value, text));
}

void RunModel::load(const std::optional<std::string>& sharedSettings,
                    const std::optional<std::string>& moduleSettings,
                    const std::optional<std::string>& columnFile) {
  const int32_t read = intervalFrom(moduleSettings, intervalFrom(sharedSettings, 60));
  interval_ = std::max(read, int32_t{1});
  const ExpectedColumns columns = expectedColumns(columnFile ? *columnFile : std::string());
  columns_ = columns.keys;
  log_ = columns.header;
  runOpen_ = true;
}

std::optional<std::string> RunModel::dispose() {
  if (!runOpen_) return std::nullopt;
  runOpen_ = false;
  return log_;
}

void RunModel::elapse(const VehicleState& state) {
  if (interval_ == 0) return;
  if (++frames_ % interval_ != 0) return;
  const int32_t elapsed = static_cast<int32_t>(static_cast<uint32_t>(state.time) -
                                               static_cast<uint32_t>(previousTime_));
  const float acceleration =
      elapsed == 0 ? 0.0f : (state.speed - previousSpeed_) * 1000.0f / static_cast<float>(elapsed);
  previousTime_ = state.time;
  previousSpeed_ = state.speed;
  values_["LOCATION"] = realText(state.location);
  values_["SPEED"] = realText(state.speed);
  values_["TIME"] = integerText(state.time);
  values_["BC"] = realText(state.brakeCylinderPressure);
  values_["MR"] = realText(state.mainReservoirPressure);
  values_["ER"] = realText(state.equalizingReservoirPressure);
  values_["BP"] = realText(state.brakePipePressure);
  values_["SAP"] = realText(state.straightAirPipePressure);
  values_["CURRENT"] = realText(state.current);
  values_["ACCELERATION"] = realText(acceleration);
  values_["TIME_HHMMSS"] = clockText(state.time);
  if (!runOpen_) return;
  for (const std::string& key : columns_) {
    const auto value = values_.find(key);
    if (value != values_.end()) log_ += value->second;
    log_ += ",";
  }
  log_ += "\r\n";
}

void RunModel::setText(const std::string& key, std::string text) { values_[key] = std::move(text); }

}  // namespace fuzzing
