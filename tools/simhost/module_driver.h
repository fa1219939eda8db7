// Drives a loaded module through a run in the host's order: Load,
// SetVehicleSpec, Initialize, per frame the events and then Elapse, and
// Dispose at the end.
#ifndef LOGGER_TOOLS_SIMHOST_MODULE_DRIVER_H_
#define LOGGER_TOOLS_SIMHOST_MODULE_DRIVER_H_

#include <cstdint>
#include <functional>
#include <vector>

#include "plugin/plugin_module.h"
#include "tools/simhost/run_plan.h"

namespace simhost {

struct DriveOptions {
  bool measureElapse = false;  // time every Elapse call
  // Called now and then with the frames done so far; may be empty.
  std::function<void(int64_t framesDone, int64_t frameCount)> progress;
};

// A stretch of frames in which Elapse returned other handles than the
// driver's: a chained plug-in overrode the driver.
struct Override {
  int64_t firstFrame;
  int64_t lastFrame;
};

struct DriveResult {
  int64_t frames = 0;
  int64_t overriddenFrames = 0;            // frames whose Elapse returned other handles
  std::vector<Override> overrides;         // each stretch of them, in order
  std::vector<int64_t> elapseNanoseconds;  // one per frame, when measured
  double wallSeconds = 0.0;                // from Load to the end of Dispose
};

// Plays plan through module, whose entry points must all be bound.
DriveResult driveModule(plugin::PluginModule& module, const RunPlan& plan,
                        const DriveOptions& options);

}  // namespace simhost

#endif  // LOGGER_TOOLS_SIMHOST_MODULE_DRIVER_H_
