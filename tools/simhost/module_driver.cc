#include "tools/simhost/module_driver.h"

#include <chrono>

namespace simhost {
namespace {

using Clock = std::chrono::steady_clock;

// The size of the panel and sound arrays the host hands to Elapse.
constexpr std::size_t kPanelSize = 256;
constexpr std::size_t kSoundSize = 256;

// How many frames pass between two progress reports.
constexpr int64_t kFramesPerProgressReport = 600;

// The handles the driver set through the events so far.
void followDriver(const std::vector<HostEvent>& events, Handles* driver) {
  for (const HostEvent& event : events) {
    if (event.kind == EventKind::kPower) driver->power = event.value;
    if (event.kind == EventKind::kBrake) driver->brake = event.value;
    if (event.kind == EventKind::kReverser) driver->reverser = event.value;
  }
}

// Counts frame as overridden when returned differs from the driver's
// handles, extending the last stretch or starting one.
void noteOverride(int64_t frame, const Handles& returned, const Handles& driver,
                  DriveResult* result) {
  if (returned.power == driver.power && returned.brake == driver.brake &&
      returned.reverser == driver.reverser) {
    return;
  }
  ++result->overriddenFrames;
  if (!result->overrides.empty() && result->overrides.back().lastFrame == frame - 1) {
    result->overrides.back().lastFrame = frame;
  } else {
    result->overrides.push_back({frame, frame});
  }
}

}  // namespace

DriveResult driveModule(plugin::PluginModule& module, const RunPlan& plan,
                        const DriveOptions& options) {
  DriveResult result;
  if (options.measureElapse) result.elapseNanoseconds.reserve(plan.frameCount);
  std::vector<int32_t> panel(kPanelSize);
  std::vector<int32_t> sound(kSoundSize);
  std::vector<HostEvent> events;
  Handles driver{0, 0, 0, 0};
  Handles returned{0, 0, 0, 0};
  const Clock::time_point started = Clock::now();
  module.Load();
  module.SetVehicleSpec(plan.vehicle);
  module.Initialize(plan.brakeMode);
  for (int64_t frame = 1; frame <= plan.frameCount; ++frame) {
    events.clear();
    const VehicleState state = plan.nextFrame(frame, &events);
    for (const HostEvent& event : events) deliverEvent(module, event);
    followDriver(events, &driver);
    if (options.measureElapse) {
      const Clock::time_point before = Clock::now();
      returned = module.Elapse(state, panel.data(), sound.data());
      result.elapseNanoseconds.push_back(
          std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - before).count());
    } else {
      returned = module.Elapse(state, panel.data(), sound.data());
    }
    noteOverride(frame, returned, driver, &result);
    if (plan.handlesReturned) plan.handlesReturned(returned);
    result.frames = frame;
    if (options.progress && frame % kFramesPerProgressReport == 0) {
      options.progress(frame, plan.frameCount);
    }
  }
  module.Dispose();
  result.wallSeconds = std::chrono::duration<double>(Clock::now() - started).count();
  return result;
}

}  // namespace simhost
