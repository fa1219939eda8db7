// Plays a scenario: the train's state per frame from its set and ramped
// values, the location following the speed, and its events in time order.
#ifndef LOGGER_TOOLS_SIMHOST_SCENARIO_PLAYER_H_
#define LOGGER_TOOLS_SIMHOST_SCENARIO_PLAYER_H_

#include "tools/simhost/run_plan.h"
#include "tools/simhost/scenario.h"

namespace simhost {

// The run scenario scripts: one frame per 1/framesPerSecond of its length.
// Fields never set stay 0. The location moves by the speed, taken in km/h,
// between frames, unless a line sets it.
RunPlan planScenario(const Scenario& scenario);

}  // namespace simhost

#endif  // LOGGER_TOOLS_SIMHOST_SCENARIO_PLAYER_H_
