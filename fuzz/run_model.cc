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

int32_t decimalCommaFrom(const std::optional<std::string>& settings, int32_t decimalComma) {
  if (!settings) return decimalComma;
  return platform::findIniInt(*settings, "Log", "DecimalComma", decimalComma);
}

// A value text as a comma-decimal log holds it: "12.5" as "\"12,5\"".
std::string commaField(std::string text) {
  if (text.find('.') == std::string::npos) return text;
  for (char& c : text) c = c == '.' ? ',' : c;
  return '"' + text + '"';
}

// A title as a comma-decimal log's header holds it.
std::string commaTitle(const std::string& title) {
  if (title.find_first_of(";\"") == std::string::npos) return title;
  std::string quoted = "\"";
  for (const char c : title) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + '"';
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
  decimalComma_ = decimalCommaFrom(moduleSettings, decimalCommaFrom(sharedSettings, 0)) != 0;
  const ExpectedColumns columns = expectedColumns(columnFile ? *columnFile : std::string());
  columns_ = columns.keys;
  log_ = columns.header;
  if (decimalComma_) {
    // The UTF-8 mark, where the header has one, starts the comma-decimal log too.
    const std::string utf8Mark = "\xEF\xBB\xBF";
    log_ = columns.header.rfind(utf8Mark, 0) == 0 ? utf8Mark : std::string();
    for (const std::string& title : columns.titles) log_ += commaTitle(title) + ";";
    log_ += "\r\n";
  }
  runOpen_ = true;
}

std::optional<std::string> RunModel::dispose() {
  if (!runOpen_) return std::nullopt;
  runOpen_ = false;
  return log_;
}

namespace {

// The index key names in the array whose keys start with prefix: decimal
// digits without a leading zero, below 256; -1 for any other key.
int arrayIndex(const std::string& key, const std::string& prefix) {
  if (key.compare(0, prefix.size(), prefix) != 0) return -1;
  const std::string digits = key.substr(prefix.size());
  if (digits.empty() || digits.size() > 3 || (digits[0] == '0' && digits.size() > 1)) return -1;
  int index = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return -1;
    index = index * 10 + (c - '0');
  }
  return index < 256 ? index : -1;
}

}  // namespace

void RunModel::elapse(const VehicleState& state, const Handles* commanded, const int32_t* panel,
                      const int32_t* sound) {
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
  const char* pluginKeys[] = {"PLUGIN_POWER", "PLUGIN_BRAKE", "PLUGIN_REVERSER",
                              "PLUGIN_CONSTANT_SPEED"};
  const int32_t fields[] = {commanded ? commanded->power : 0, commanded ? commanded->brake : 0,
                            commanded ? commanded->reverser : 0,
                            commanded ? commanded->reserved : 0};
  for (int field = 0; field < 4; ++field) {
    if (commanded) {
      values_[pluginKeys[field]] = integerText(fields[field]);
    } else {
      values_.erase(pluginKeys[field]);
    }
  }
  if (!runOpen_) return;
  for (const std::string& key : columns_) {
    const int index =
        arrayIndex(key, "PANEL_") >= 0 ? arrayIndex(key, "PANEL_") : arrayIndex(key, "SOUND_");
    const int32_t* array = key[0] == 'P' ? panel : sound;
    const auto value = values_.find(key);
    if (index >= 0) {
      if (array) log_ += integerText(array[index]);
    } else if (value != values_.end()) {
      log_ += decimalComma_ ? commaField(value->second) : value->second;
    }
    log_ += decimalComma_ ? ";" : ",";
  }
  log_ += "\r\n";
}

void RunModel::setText(const std::string& key, std::string text) { values_[key] = std::move(text); }

}  // namespace fuzzing
