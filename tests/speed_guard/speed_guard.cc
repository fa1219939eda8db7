// SpeedGuard, a small train plug-in for the project's tests and the
// README's example of a chain (it is not part of the package): above 80 km/h
// it takes power off and commands the emergency brake until the train has
// stopped, lights panel entry 0 while it brakes and plays sound 0 once when
// it trips. It records every call it gets as a line of text, which a test
// reads through the extra export SpeedGuardRecord, and SpeedGuardSetMode
// makes it misbehave on purpose.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "plugin/entry_point_list.h"

namespace {

constexpr float kSpeedLimit = 80.0f;

// How the plug-in behaves, as a test sets it.
enum Mode : int32_t {
  kGuard = 0,          // as described above
  kCrashInElapse = 1,  // a fault of its own in the next Elapse
  kExitInElapse = 2,   // ends the process in the next Elapse
  kOldInterface = 3,   // answers an interface version the host refuses
  kPassThrough = 4,    // returns the driver's handles and writes no array entry
};

Mode mode = kGuard;
std::string record;
Handles driver{0, 0, 0, 0};
int32_t emergencyNotch = 1;
bool tripped = false;

void note(const char* name, const std::string& arguments = std::string()) {
  record += name;
  if (!arguments.empty()) record += " " + arguments;
  record += "\n";
}

std::string numbers(std::initializer_list<double> values) {
  std::string text;
  char number[32];
  for (const double value : values) {
    std::snprintf(number, sizeof number, "%s%g", text.empty() ? "" : " ", value);
    text += number;
  }
  return text;
}

}  // namespace

extern "C" {

LOGGER_EXPORT const char* SpeedGuardRecord() { return record.c_str(); }

LOGGER_EXPORT void SpeedGuardSetMode(int32_t newMode) { mode = static_cast<Mode>(newMode); }

LOGGER_EXPORT void LOGGER_CALL Load() {
  note("Load");
  driver = Handles{0, 0, 0, 0};
}

LOGGER_EXPORT void LOGGER_CALL Dispose() { note("Dispose"); }

LOGGER_EXPORT int32_t LOGGER_CALL GetPluginVersion() {
  note("GetPluginVersion");
  return mode == kOldInterface ? 0x00010000 : kPluginInterfaceVersion;
}

LOGGER_EXPORT void LOGGER_CALL SetVehicleSpec(VehicleSpec vehicle) {
  note("SetVehicleSpec", numbers({double(vehicle.brakeNotches), double(vehicle.powerNotches),
                                  double(vehicle.interlockNotch), double(vehicle.secondBrakeNotch),
                                  double(vehicle.cars)}));
  // One above the highest service notch, wrapping as the host's 32-bit arithmetic would.
  emergencyNotch = static_cast<int32_t>(static_cast<uint32_t>(vehicle.brakeNotches) + 1u);
}

LOGGER_EXPORT void LOGGER_CALL Initialize(int32_t brakeMode) {
  note("Initialize", numbers({double(brakeMode)}));
  tripped = false;
}

LOGGER_EXPORT Handles LOGGER_CALL Elapse(VehicleState state, int32_t* panel, int32_t* sound) {
  note("Elapse", numbers({state.location, state.speed, double(state.time),
                          panel ? double(panel[3]) : -1.0, sound ? double(sound[3]) : -1.0}));
  if (mode == kCrashInElapse) {
    // Through a pointer the compiler cannot see is null: a real access violation, not a trap.
    volatile int32_t* volatile nowhere = nullptr;
    *nowhere = 1;
  }
  if (mode == kExitInElapse) std::_Exit(3);
  if (mode == kPassThrough) return driver;
  const bool tripsNow = !tripped && state.speed > kSpeedLimit;
  if (tripsNow) tripped = true;
  if (tripped && state.speed <= 0.0f) tripped = false;
  if (panel) panel[0] = tripped ? 1 : 0;
  if (sound) sound[0] = tripsNow ? 1 : 0;
  if (!tripped) return driver;
  return Handles{emergencyNotch, 0, driver.reverser, 2};
}

LOGGER_EXPORT void LOGGER_CALL SetPower(int32_t notch) {
  note("SetPower", numbers({double(notch)}));
  driver.power = notch;
}

LOGGER_EXPORT void LOGGER_CALL SetBrake(int32_t notch) {
  note("SetBrake", numbers({double(notch)}));
  driver.brake = notch;
}

LOGGER_EXPORT void LOGGER_CALL SetReverser(int32_t position) {
  note("SetReverser", numbers({double(position)}));
  driver.reverser = position;
}

LOGGER_EXPORT void LOGGER_CALL KeyDown(int32_t key) { note("KeyDown", numbers({double(key)})); }

LOGGER_EXPORT void LOGGER_CALL KeyUp(int32_t key) { note("KeyUp", numbers({double(key)})); }

LOGGER_EXPORT void LOGGER_CALL HornBlow(int32_t horn) { note("HornBlow", numbers({double(horn)})); }

LOGGER_EXPORT void LOGGER_CALL DoorOpen() { note("DoorOpen"); }

LOGGER_EXPORT void LOGGER_CALL DoorClose() { note("DoorClose"); }

LOGGER_EXPORT void LOGGER_CALL SetSignal(int32_t signal) {
  note("SetSignal", numbers({double(signal)}));
}

#ifndef SPEED_GUARD_WITHOUT_BEACON
LOGGER_EXPORT void LOGGER_CALL SetBeaconData(BeaconData beacon) {
  note("SetBeaconData", numbers({double(beacon.type), double(beacon.signal), beacon.distance,
                                 double(beacon.optional)}));
}
#endif

}  // extern "C"
