#include "tools/simhost/handle_limits.h"

namespace simhost {

std::string handleOutOfRange(const VehicleSpec& vehicle, const HostEvent& event) {
  const std::string value = std::to_string(event.value);
  if (event.kind == EventKind::kPower && (event.value < 0 || event.value > vehicle.powerNotches)) {
    return "power notch " + value + " is out of range 0 to " + std::to_string(vehicle.powerNotches);
  }
  if (event.kind == EventKind::kBrake &&
      (event.value < 0 || event.value > vehicle.brakeNotches + 1)) {
    const std::string emergency = std::to_string(vehicle.brakeNotches + 1);
    return "brake notch " + value + " is out of range 0 to " + emergency + " (" + emergency +
           " is the emergency brake)";
  }
  if (event.kind == EventKind::kReverser && (event.value < -1 || event.value > 1)) {
    return "reverser position " + value + " is out of range -1 to 1";
  }
  return std::string();
}

}  // namespace simhost
