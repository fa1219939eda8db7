// One call the host makes between frames: a driver input or a trackside
// event, and how it reaches a loaded module.
#ifndef LOGGER_TOOLS_SIMHOST_HOST_EVENT_H_
#define LOGGER_TOOLS_SIMHOST_HOST_EVENT_H_

#include <cstdint>

#include "plugin/plugin_module.h"
#include "records/host_records.h"

namespace simhost {

// Which entry point an event calls.
enum class EventKind {
  kPower,      // SetPower(value)
  kBrake,      // SetBrake(value)
  kReverser,   // SetReverser(value)
  kSignal,     // SetSignal(value)
  kBeacon,     // SetBeaconData(beacon)
  kDoorOpen,   // DoorOpen()
  kDoorClose,  // DoorClose()
  kKeyDown,    // KeyDown(value)
  kKeyUp,      // KeyUp(value)
  kHorn,       // HornBlow(value)
};

struct HostEvent {
  EventKind kind = EventKind::kSignal;
  int32_t value = 0;       // the notch, position, signal, key or horn
  BeaconData beacon = {};  // for kBeacon only
};

// Calls the entry point of module that event stands for.
void deliverEvent(plugin::PluginModule& module, const HostEvent& event);

}  // namespace simhost

#endif  // LOGGER_TOOLS_SIMHOST_HOST_EVENT_H_
