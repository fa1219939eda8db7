// The handle positions a train accepts, by its build.
#ifndef LOGGER_TOOLS_SIMHOST_HANDLE_LIMITS_H_
#define LOGGER_TOOLS_SIMHOST_HANDLE_LIMITS_H_

#include <string>

#include "records/host_records.h"
#include "tools/simhost/host_event.h"

namespace simhost {

// Why event sets a handle out of the range a train built as vehicle has:
// power 0 to its power notches, brake 0 to its brake notches plus one for
// the emergency brake, reverser -1 to 1. Empty when it is in range or sets
// no handle.
std::string handleOutOfRange(const VehicleSpec& vehicle, const HostEvent& event);

}  // namespace simhost

#endif  // LOGGER_TOOLS_SIMHOST_HANDLE_LIMITS_H_
