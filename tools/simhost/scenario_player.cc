#include "tools/simhost/scenario_player.h"

#include <memory>
#include <optional>

namespace simhost {
namespace {

// One field's straight line from a value at one time to another later; the
// field holds its target from then on.
struct Ramp {
  double from = 0.0;
  double to = 0.0;
  int64_t startTime = 0;
  int64_t endTime = 0;

  double valueAt(int32_t time) const {
    if (time >= endTime) return to;
    if (time <= startTime) return from;
    return from + (to - from) * (time - startTime) / (endTime - startTime);
  }
};

// Where the playback stands between two frames.
class Playback {
 public:
  explicit Playback(const Scenario& scenario) : scenario_(scenario) {
    applyChangesUntil(0);
    location_ = locationSet_.value_or(0.0);
    locationSet_.reset();
    previousSpeed_ = ramps_[index(StateField::kSpeed)].valueAt(0);
  }

  // The events due before frame and the state in it.
  VehicleState frame(int64_t frame, std::vector<HostEvent>* events);

 private:
  static int index(StateField field) { return static_cast<int>(field); }
  void applyChangesUntil(int32_t time);
  float value(StateField field, int32_t time) const {
    return static_cast<float>(ramps_[index(field)].valueAt(time));
  }

  const Scenario scenario_;
  std::size_t nextChange_ = 0;
  std::size_t nextEvent_ = 0;
  Ramp ramps_[kStateFieldCount];
  double location_ = 0.0;
  std::optional<double> locationSet_;  // set by a line since the last frame
  double previousSpeed_ = 0.0;
  int32_t previousTime_ = 0;
};

void Playback::applyChangesUntil(int32_t time) {
  for (; nextChange_ < scenario_.changes.size(); ++nextChange_) {
    const StateChange& change = scenario_.changes[nextChange_];
    if (change.atTime > time) return;
    if (change.field == StateField::kLocation) {
      locationSet_ = change.target;
      continue;
    }
    Ramp& ramp = ramps_[index(change.field)];
    ramp = {ramp.valueAt(change.atTime), change.target, change.atTime,
            int64_t{change.atTime} + change.rampTime};
  }
}

VehicleState Playback::frame(int64_t frame, std::vector<HostEvent>* events) {
  const int32_t time = frameTime(0, scenario_.framesPerSecond, frame);
  for (; nextEvent_ < scenario_.events.size(); ++nextEvent_) {
    if (scenario_.events[nextEvent_].atTime > time) break;
    events->push_back(scenario_.events[nextEvent_].event);
  }
  applyChangesUntil(time);
  // The location moves by the mean speed since the last frame; a location
  // set in between replaces the result.
  const double speed = ramps_[index(StateField::kSpeed)].valueAt(time);
  location_ += (previousSpeed_ + speed) / 2.0 / 3.6 * (time - previousTime_) / 1000.0;
  if (locationSet_) location_ = *locationSet_;
  locationSet_.reset();
  previousSpeed_ = speed;
  previousTime_ = time;
  VehicleState state;
  state.location = location_;
  state.speed = static_cast<float>(previousSpeed_);
  state.time = frameTime(scenario_.startTime, scenario_.framesPerSecond, frame);
  state.brakeCylinderPressure = value(StateField::kBrakeCylinder, time);
  state.mainReservoirPressure = value(StateField::kMainReservoir, time);
  state.equalizingReservoirPressure = value(StateField::kEqualizingReservoir, time);
  state.brakePipePressure = value(StateField::kBrakePipe, time);
  state.straightAirPipePressure = value(StateField::kStraightAirPipe, time);
  state.current = value(StateField::kCurrent, time);
  return state;
}

}  // namespace

RunPlan planScenario(const Scenario& scenario) {
  RunPlan plan;
  plan.vehicle = scenario.vehicle;
  plan.brakeMode = scenario.brakeMode;
  plan.framesPerSecond = scenario.framesPerSecond;
  plan.frameCount = int64_t{scenario.length} * scenario.framesPerSecond / 1000;
  auto playback = std::make_shared<Playback>(scenario);
  plan.nextFrame = [playback](int64_t frame, std::vector<HostEvent>* events) {
    return playback->frame(frame, events);
  };
  return plan;
}

}  // namespace simhost
