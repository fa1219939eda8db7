// The run simhost plays when given no scenario: a five-minute trip between
// two stations, driven by a simple driver on the train dynamics model.
#ifndef LOGGER_TOOLS_SIMHOST_BUILT_IN_TRIP_H_
#define LOGGER_TOOLS_SIMHOST_BUILT_IN_TRIP_H_

#include "tools/simhost/run_plan.h"

namespace simhost {

// The trip's simulation time at its start: 10:14:00.
constexpr int32_t kTripStartTime = (10 * 60 + 14) * 60 * 1000;

// The trip, at 60 frames per second for five minutes. The train stands at
// a station with its doors open, closes them, releases the brake, takes
// power in steps, passes signals and beacons, coasts, brakes to a stop at
// the next station and opens its doors.
RunPlan planBuiltInTrip();

}  // namespace simhost

#endif  // LOGGER_TOOLS_SIMHOST_BUILT_IN_TRIP_H_
