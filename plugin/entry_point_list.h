// The 16 entry points the host calls by name, with the calling convention
// they use. The LOGGER_ENTRY_POINTS list names each with its return type and
// parameters once, for the module's declarations and for hosts that bind
// them by name.
#ifndef LOGGER_PLUGIN_ENTRY_POINT_LIST_H_
#define LOGGER_PLUGIN_ENTRY_POINT_LIST_H_

#include <cstdint>

#include "records/host_records.h"

#if defined(_WIN32)
#define LOGGER_CALL __stdcall
#define LOGGER_EXPORT
#else
#define LOGGER_CALL
#define LOGGER_EXPORT __attribute__((visibility("default")))
#endif

#define LOGGER_ENTRY_POINTS(X)                                               \
  X(void, Load, ())                                                          \
  X(void, Dispose, ())                                                       \
  X(int32_t, GetPluginVersion, ())                                           \
  X(void, SetVehicleSpec, (VehicleSpec spec))                                \
  X(void, Initialize, (int32_t brakeMode))                                   \
  X(Handles, Elapse, (VehicleState state, int32_t * panel, int32_t * sound)) \
  X(void, SetPower, (int32_t notch))                                         \
  X(void, SetBrake, (int32_t notch))                                         \
  X(void, SetReverser, (int32_t position))                                   \
  X(void, KeyDown, (int32_t key))                                            \
  X(void, KeyUp, (int32_t key))                                              \
  X(void, HornBlow, (int32_t horn))                                          \
  X(void, DoorOpen, ())                                                      \
  X(void, DoorClose, ())                                                     \
  X(void, SetSignal, (int32_t signal))                                       \
  X(void, SetBeaconData, (BeaconData beacon))

#endif  // LOGGER_PLUGIN_ENTRY_POINT_LIST_H_
