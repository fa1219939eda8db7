// The 16 entry points the host calls by name, with the calling convention
// they use. The LOGGER_ENTRY_POINTS list names each with its return type and
// parameters once, for the module's declarations and for hosts that bind
// them by name.
#ifndef LOGGER_PLUGIN_ENTRY_POINT_LIST_H_
#define LOGGER_PLUGIN_ENTRY_POINT_LIST_H_

#include <cstdint>

#include "records/host_records.h"

// How the host calls them on 32-bit Windows, as the platform's own compiler
// does for __stdcall (clang's i686-pc-windows-msvc target and MinGW's GCC
// compile it alike; plugin/host_caller_x86.S checks that the DLL keeps it):
// - arguments are pushed right to left, 4 bytes each at least; a record
//   passed by value (VehicleSpec, BeaconData, VehicleState) lies whole on the
//   stack, its first field at the lowest address, aligned to 4 bytes only;
// - Elapse's 16-byte Handles comes back through a hidden pointer the caller
//   pushes last, above the return address; the callee writes the record
//   there and returns the same pointer in eax;
// - the callee pops all its arguments, the hidden pointer included: Elapse
//   returns with "ret 52" although its decorated name is Elapse@48 (the
//   decoration counts the 48 bytes of declared arguments only);
// - ebx, esi, edi and ebp survive the call, and the caller's stack is aligned
//   to 4 bytes only (the module's compiler realigns where it needs more).
// The module exports the plain names (plugin/Logger_x86.def). On 64-bit
// Windows __stdcall means nothing and the one Microsoft x64 convention
// applies, with plain names too.
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
  X(void, SetVehicleSpec, (VehicleSpec vehicle))                             \
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
