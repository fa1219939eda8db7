// A train plug-in that does nothing, chained behind the module in the
// benchmarks: what forwarding the host's calls costs, and nothing more.
#include "plugin/entry_point_list.h"

extern "C" {

LOGGER_EXPORT void LOGGER_CALL Load() {}
LOGGER_EXPORT void LOGGER_CALL Dispose() {}
LOGGER_EXPORT int32_t LOGGER_CALL GetPluginVersion() { return kPluginInterfaceVersion; }
LOGGER_EXPORT void LOGGER_CALL SetVehicleSpec(VehicleSpec) {}
LOGGER_EXPORT void LOGGER_CALL Initialize(int32_t) {}
LOGGER_EXPORT Handles LOGGER_CALL Elapse(VehicleState, int32_t*, int32_t*) {
  return Handles{0, 0, 0, 0};
}
LOGGER_EXPORT void LOGGER_CALL SetPower(int32_t) {}
LOGGER_EXPORT void LOGGER_CALL SetBrake(int32_t) {}
LOGGER_EXPORT void LOGGER_CALL SetReverser(int32_t) {}
LOGGER_EXPORT void LOGGER_CALL KeyDown(int32_t) {}
LOGGER_EXPORT void LOGGER_CALL KeyUp(int32_t) {}
LOGGER_EXPORT void LOGGER_CALL HornBlow(int32_t) {}
LOGGER_EXPORT void LOGGER_CALL DoorOpen() {}
LOGGER_EXPORT void LOGGER_CALL DoorClose() {}
LOGGER_EXPORT void LOGGER_CALL SetSignal(int32_t) {}
LOGGER_EXPORT void LOGGER_CALL SetBeaconData(BeaconData) {}

}  // extern "C"
