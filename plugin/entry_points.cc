// The exported entry points: each is thin, hands over to the Logger, and lets
// no exception reach the host.
#include "plugin/entry_points.h"

#include "logger/logger.h"
#include "platform/platform.h"

namespace {

// The one Logger of the module's lifetime.
logger::Logger theLogger;

// The handle positions the host last reported, returned by every Elapse.
struct HandleMirror {
  int32_t brake;
  int32_t power;
  int32_t reverser;
} handleMirror;

// Runs action and swallows whatever it throws: nothing crosses into the host.
template <typename Action>
void guarded(Action action) noexcept {
  try {
    action();
  } catch (...) {
  }
}

using logger::ValueKey;

}  // namespace

extern "C" {

void LOGGER_CALL Load() {
  guarded([] { theLogger.startRun(platform::modulePath()); });
}

void LOGGER_CALL Dispose() {
  guarded([] { theLogger.endRun(); });
}

int32_t LOGGER_CALL GetPluginVersion() { return kPluginInterfaceVersion; }

void LOGGER_CALL SetVehicleSpec(VehicleSpec) {}

void LOGGER_CALL Initialize(int32_t) {}

Handles LOGGER_CALL Elapse(VehicleState state, int32_t*, int32_t*) {
  guarded([&state] { theLogger.sampleFrame(state); });
  return Handles{handleMirror.brake, handleMirror.power, handleMirror.reverser, 0};
}

void LOGGER_CALL SetPower(int32_t notch) {
  handleMirror.power = notch;
  guarded([notch] { theLogger.values().setInt(ValueKey::kPower, notch); });
}

void LOGGER_CALL SetBrake(int32_t notch) {
  handleMirror.brake = notch;
  guarded([notch] { theLogger.values().setInt(ValueKey::kBrake, notch); });
}

void LOGGER_CALL SetReverser(int32_t position) {
  handleMirror.reverser = position;
  guarded([position] { theLogger.values().setInt(ValueKey::kReverser, position); });
}

void LOGGER_CALL KeyDown(int32_t) {}

void LOGGER_CALL KeyUp(int32_t) {}

void LOGGER_CALL HornBlow(int32_t) {}

void LOGGER_CALL DoorOpen() {
  guarded([] { theLogger.values().setFlag(ValueKey::kPilotLamp, false); });
}

void LOGGER_CALL DoorClose() {
  guarded([] { theLogger.values().setFlag(ValueKey::kPilotLamp, true); });
}

void LOGGER_CALL SetSignal(int32_t signal) {
  guarded([signal] { theLogger.values().setInt(ValueKey::kSignal, signal); });
}

void LOGGER_CALL SetBeaconData(BeaconData beacon) {
  guarded([&beacon] {
    logger::ValueTable& values = theLogger.values();
    values.setInt(ValueKey::kBeaconType, beacon.type);
    values.setInt(ValueKey::kBeaconSignal, beacon.signal);
    values.setFloat(ValueKey::kBeaconDistance, beacon.distance);
    values.setInt(ValueKey::kBeaconOptional, beacon.optional);
  });
}

}  // extern "C"
