// Frame sampling: every frame-interval-th Elapse stores the vehicle's
// values and appends a row.
#include <cstdint>
#include <new>

#include "logger/logger.h"

namespace logger {
namespace {

// a - b as a 32-bit signed integer, wrapping around instead of overflowing.
int32_t wrappingDifference(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

// True when the two hold the same four fields.
bool sameHandles(const Handles& a, const Handles& b) {
  return a.brake == b.brake && a.power == b.power && a.reverser == b.reverser &&
         a.reserved == b.reserved;
}

}  // namespace

void Logger::logFrame(const VehicleState& state, const FrameInputs& inputs) {
  const int32_t elapsed = wrappingDifference(state.time, previousTime_);
  float acceleration = 0.0f;
  if (elapsed != 0) {
    const float speedChange = state.speed - previousSpeed_;
    acceleration = speedChange * 1000.0f / static_cast<float>(elapsed);
  }
  previousSpeed_ = state.speed;
  previousTime_ = state.time;
  values_.setDouble(ValueKey::kLocation, state.location);
  values_.setFloat(ValueKey::kSpeed, state.speed);
  values_.setInt(ValueKey::kTime, state.time);
  values_.setFloat(ValueKey::kBrakeCylinder, state.brakeCylinderPressure);
  values_.setFloat(ValueKey::kMainReservoir, state.mainReservoirPressure);
  values_.setFloat(ValueKey::kEqualizingReservoir, state.equalizingReservoirPressure);
  values_.setFloat(ValueKey::kBrakePipe, state.brakePipePressure);
  values_.setFloat(ValueKey::kStraightAirPipe, state.straightAirPipePressure);
  values_.setFloat(ValueKey::kCurrent, state.current);
  values_.setFloat(ValueKey::kAcceleration, acceleration);
  values_.setClockText(ValueKey::kTimeClockText, state.time);
  if (inputs.commanded || commandedHeld_ || !indexedColumns_.empty()) storeFrameInputs(inputs);
  if (logging_) appendRowUnlessOutOfMemory();
}

void Logger::storeFrameInputs(const FrameInputs& inputs) {
  const Handles* commanded = inputs.commanded;
  if (commanded && !(commandedHeld_ && sameHandles(*commanded, commanded_))) {
    values_.setInt(ValueKey::kPluginPower, commanded->power);
    values_.setInt(ValueKey::kPluginBrake, commanded->brake);
    values_.setInt(ValueKey::kPluginReverser, commanded->reverser);
    values_.setInt(ValueKey::kPluginConstantSpeed, commanded->reserved);
    commanded_ = *commanded;
  } else if (!commanded && commandedHeld_) {
    values_.clear(ValueKey::kPluginPower);
    values_.clear(ValueKey::kPluginBrake);
    values_.clear(ValueKey::kPluginReverser);
    values_.clear(ValueKey::kPluginConstantSpeed);
  }
  commandedHeld_ = commanded != nullptr;
  for (IndexedColumn& column : indexedColumns_) {
    const int32_t* array = inputs.arrays[static_cast<int>(column.entry.family)];
    if (!array) {
      values_.clearSlot(column.slot);
      column.held = false;
      continue;
    }
    const int32_t value = array[column.entry.index];
    if (column.held && value == column.value) continue;
    values_.setIndexed(column.slot, value);
    column.value = value;
    column.held = true;
  }
}

void Logger::appendRowUnlessOutOfMemory() {
  const LogBuffer::Mark rowStart = log_.mark();
  try {
    appendRow(values_, columns_, fieldSeparator(values_.decimalMark()), &log_);
  } catch (const std::bad_alloc&) {
    // Logging stops; the rows gathered so far, each whole, are written at the
    // run's end.
    log_.truncate(rowStart);
    logging_ = false;
  }
}

}  // namespace logger
