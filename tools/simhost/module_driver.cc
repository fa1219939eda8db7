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

}  // namespace

DriveResult driveModule(plugin::PluginModule& module, const RunPlan& plan,
                        const DriveOptions& options) {
  DriveResult result;
  if (options.measureElapse) result.elapseNanoseconds.reserve(plan.frameCount);
  std::vector<int32_t> panel(kPanelSize);
  std::vector<int32_t> sound(kSoundSize);
  std::vector<HostEvent> events;
  const Clock::time_point started = Clock::now();
  module.Load();
  module.SetVehicleSpec(plan.vehicle);
  module.Initialize(plan.brakeMode);
  for (int64_t frame = 1; frame <= plan.frameCount; ++frame) {
    events.clear();
    const VehicleState state = plan.nextFrame(frame, &events);
    for (const HostEvent& event : events) deliverEvent(module, event);
    if (options.measureElapse) {
      const Clock::time_point before = Clock::now();
      module.Elapse(state, panel.data(), sound.data());
      result.elapseNanoseconds.push_back(
          std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - before).count());
    } else {
      module.Elapse(state, panel.data(), sound.data());
    }
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
