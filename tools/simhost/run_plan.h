// A run as the host plays it, whatever wrote it: the train's build, how many
// frames, and per frame the events before it and the train's state.
#ifndef LOGGER_TOOLS_SIMHOST_RUN_PLAN_H_
#define LOGGER_TOOLS_SIMHOST_RUN_PLAN_H_

#include <cstdint>
#include <functional>
#include <vector>

#include "records/host_records.h"
#include "tools/simhost/host_event.h"

namespace simhost {

struct RunPlan {
  VehicleSpec vehicle = {};
  int32_t brakeMode = 0;  // passed to Initialize
  int32_t framesPerSecond = 60;
  int64_t frameCount = 0;
  // Called for frames 1 to frameCount, in order: appends the events due
  // before that frame to *events and returns the train's state in it.
  std::function<VehicleState(int64_t frame, std::vector<HostEvent>* events)> nextFrame;
  // Called after each frame's Elapse with the handles it returned, which
  // drive the train from then on, as the simulator's do; may be empty for a
  // run whose states are all given.
  std::function<void(const Handles& returned)> handlesReturned;
};

// The simulation time of frame number frame, in milliseconds: frames follow
// each other at framesPerSecond, and frame 0 would be at startTime.
inline int32_t frameTime(int32_t startTime, int32_t framesPerSecond, int64_t frame) {
  return static_cast<int32_t>(startTime + frame * 1000 / framesPerSecond);
}

}  // namespace simhost

#endif  // LOGGER_TOOLS_SIMHOST_RUN_PLAN_H_
