#include "tools/simhost/host_event.h"

namespace simhost {

void deliverEvent(plugin::PluginModule& module, const HostEvent& event) {
  switch (event.kind) {
    case EventKind::kPower:
      module.SetPower(event.value);
      return;
    case EventKind::kBrake:
      module.SetBrake(event.value);
      return;
    case EventKind::kReverser:
      module.SetReverser(event.value);
      return;
    case EventKind::kSignal:
      module.SetSignal(event.value);
      return;
    case EventKind::kBeacon:
      module.SetBeaconData(event.beacon);
      return;
    case EventKind::kDoorOpen:
      module.DoorOpen();
      return;
    case EventKind::kDoorClose:
      module.DoorClose();
      return;
    case EventKind::kKeyDown:
      module.KeyDown(event.value);
      return;
    case EventKind::kKeyUp:
      module.KeyUp(event.value);
      return;
    case EventKind::kHorn:
      module.HornBlow(event.value);
      return;
  }
}

}  // namespace simhost
