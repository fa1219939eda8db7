#include "bench/reference_logger.h"

#include <fstream>
#include <iomanip>
#include <sstream>

namespace bench {

std::string referenceInteger(int32_t value) {
  std::ostringstream stream;
  stream << value;
  return stream.str();
}

std::string referenceDouble(double value) {
  std::ostringstream stream;
  stream << value;
  std::string text = stream.str();
  // The log's exponents have three digits.
  const std::size_t exponent = text.find('e');
  if (exponent != std::string::npos && text.size() - exponent == 4) text.insert(exponent + 2, "0");
  return text;
}

std::string referenceFloat(float value) { return referenceDouble(value); }

std::string referenceClockText(int32_t milliseconds) {
  std::ostringstream stream;
  stream << std::setfill('0') << std::setw(2) << milliseconds / 3600000 << ':' << std::setw(2)
         << milliseconds / 60000 % 60 << ':' << std::setw(2) << milliseconds / 1000 % 60 << '.'
         << std::setw(3) << milliseconds % 1000;
  return stream.str();
}

void ReferenceLogger::load(const std::vector<std::string>& columns, int32_t interval) {
  columns_ = columns;
  interval_ = interval;
  log_ = std::string();
  for (const std::string& column : columns_) log_ += column + ",";
  log_ += "\r\n";
}

void ReferenceLogger::dispose(const std::string& path) {
  std::ofstream file(path, std::ios::binary);
  file << log_;
  file.close();
  log_ = std::string();
}

Handles ReferenceLogger::elapse(const VehicleState& state) {
  ++counter_;
  if (counter_ % interval_ == 0) logFrame(state);
  return handles_;
}

void ReferenceLogger::logFrame(const VehicleState& state) {
  float acceleration = 0.0f;
  if (state.time != previousTime_) {
    acceleration =
        (state.speed - previousSpeed_) * 1000.0f / static_cast<float>(state.time - previousTime_);
  }
  previousSpeed_ = state.speed;
  previousTime_ = state.time;
  values_["LOCATION"] = referenceDouble(state.location);
  values_["SPEED"] = referenceFloat(state.speed);
  values_["TIME"] = referenceInteger(state.time);
  values_["BC"] = referenceFloat(state.brakeCylinderPressure);
  values_["MR"] = referenceFloat(state.mainReservoirPressure);
  values_["ER"] = referenceFloat(state.equalizingReservoirPressure);
  values_["BP"] = referenceFloat(state.brakePipePressure);
  values_["SAP"] = referenceFloat(state.straightAirPipePressure);
  values_["CURRENT"] = referenceFloat(state.current);
  values_["ACCELERATION"] = referenceFloat(acceleration);
  values_["TIME_HHMMSS"] = referenceClockText(state.time);
  appendRow();
}

void ReferenceLogger::appendRow() {
  for (const std::string& column : columns_) {
    const auto found = values_.find(column);
    if (found != values_.end()) log_ += found->second;
    log_ += ",";
  }
  log_ += "\r\n";
}

void ReferenceLogger::setPower(int32_t notch) {
  handles_.power = notch;
  values_["POWER"] = referenceInteger(notch);
}

void ReferenceLogger::setBrake(int32_t notch) {
  handles_.brake = notch;
  values_["BRAKE"] = referenceInteger(notch);
}

void ReferenceLogger::setReverser(int32_t position) {
  handles_.reverser = position;
  values_["REVERSER"] = referenceInteger(position);
}

void ReferenceLogger::setSignal(int32_t signal) { values_["SIGNAL"] = referenceInteger(signal); }

void ReferenceLogger::doorClose() { values_["PILOTLAMP"] = "true"; }

void ReferenceLogger::setBeaconData(const BeaconData& beacon) {
  values_["BEACON_TYPE"] = referenceInteger(beacon.type);
  values_["BEACON_SIGNAL"] = referenceInteger(beacon.signal);
  values_["BEACON_DISTANCE"] = referenceFloat(beacon.distance);
  values_["BEACON_OPTIONAL"] = referenceInteger(beacon.optional);
}

}  // namespace bench
