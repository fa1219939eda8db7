#include "tools/simhost/built_in_trip.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "tools/simhost/train_dynamics.h"

namespace simhost {
namespace {

constexpr int32_t kFramesPerSecond = 60;
constexpr int32_t kTripLength = 5 * 60 * 1000;
constexpr VehicleSpec kVehicle = {8, 5, 1, 7, 6};

// Where the train starts and where it is to stop, in m.
constexpr double kDepartureLocation = 1200.0;
constexpr double kStopLocation = 5400.0;

// The driver's habits: in km/h and km/h/s.
constexpr double kCutOffSpeed = 82.0;
constexpr double kResumeSpeed = 68.0;
constexpr int32_t kResumeNotch = 3;
constexpr double kPlannedDeceleration = 2.5;

// Signal values as the trip uses them.
constexpr int32_t kStop = 0;
constexpr int32_t kProceed = 4;

// An event the driver or the line gives: at a time in ms, or at a location.
struct ScriptedEvent {
  double at;
  HostEvent event;
};

HostEvent event(EventKind kind, int32_t value) { return HostEvent{kind, value, {}}; }
HostEvent beacon(int32_t type, int32_t signal, float distance, int32_t optional) {
  return HostEvent{EventKind::kBeacon, 0, {type, signal, distance, optional}};
}

// At the departing station: doors open, brake on, the starting signal red
// until it clears; then doors, brake release, horn and power in steps.
const ScriptedEvent kDeparture[] = {
    {0, event(EventKind::kSignal, kStop)},
    {0, event(EventKind::kBrake, 8)},
    {0, event(EventKind::kPower, 0)},
    {0, event(EventKind::kReverser, 0)},
    {0, event(EventKind::kDoorOpen, 0)},
    {6000, event(EventKind::kReverser, 1)},
    {12000, event(EventKind::kSignal, kProceed)},
    {15000, event(EventKind::kDoorClose, 0)},
    {17000, event(EventKind::kBrake, 4)},
    {18000, event(EventKind::kBrake, 0)},
    {18500, event(EventKind::kHorn, 1)},
    {19000, event(EventKind::kPower, 1)},
    {20500, event(EventKind::kPower, 2)},
    {22000, event(EventKind::kPower, 3)},
    {23500, event(EventKind::kPower, 4)},
    {25000, event(EventKind::kPower, 5)},
};
constexpr double kDepartureDone = 25000;

// Beside the line: each signal passed shows the next one's aspect, and each
// beacon carries the aspect of and distance to a signal ahead. The arrival
// station's starting signal stands at stop.
const ScriptedEvent kLine[] = {
    {1350, event(EventKind::kSignal, kProceed)}, {1800, beacon(0, kProceed, 600.0f, 0)},
    {2400, event(EventKind::kSignal, kProceed)}, {3000, beacon(0, kProceed, 600.0f, 0)},
    {3600, event(EventKind::kSignal, kProceed)}, {3700, beacon(0, kStop, 1850.0f, 0)},
    {4200, event(EventKind::kSignal, kStop)},    {5000, beacon(1, kStop, 550.0f, 400)},
};

// The distance in m to stop from speed in km/h at deceleration in km/h/s.
double brakingDistance(double speed, double deceleration) {
  return speed * speed / (7.2 * deceleration);
}

enum class Phase { kDeparting, kPowering, kCoasting, kBraking, kStopped, kArrived };

// The trip in progress: the train, the driver's handles and plans.
class Trip {
 public:
  Trip() { train_.location = kDepartureLocation; }

  VehicleState frame(int64_t frame, std::vector<HostEvent>* events);

  // The handles the module's Elapse returned, which drive the train.
  void handlesReturned(const Handles& returned) {
    applied_.power = returned.power;
    applied_.brake = returned.brake;
    appliedKnown_ = true;
  }

 private:
  void drive(int32_t time, std::vector<HostEvent>* events);
  void brakeFor(double remaining, std::vector<HostEvent>* events);
  void setPower(int32_t notch, std::vector<HostEvent>* events);
  void setBrake(int32_t notch, std::vector<HostEvent>* events);

  TrainState train_;
  DriverHandles handles_;
  DriverHandles applied_;  // what the last Elapse returned
  bool appliedKnown_ = false;
  Phase phase_ = Phase::kDeparting;
  std::size_t nextDepartureEvent_ = 0;
  std::size_t nextLineEvent_ = 0;
  int32_t previousTime_ = 0;
  int32_t lastBrakeChange_ = 0;
  int32_t stoppedAt_ = 0;
};

void Trip::setPower(int32_t notch, std::vector<HostEvent>* events) {
  if (notch == handles_.power) return;
  handles_.power = notch;
  events->push_back(event(EventKind::kPower, notch));
}

void Trip::setBrake(int32_t notch, std::vector<HostEvent>* events) {
  if (notch == handles_.brake) return;
  handles_.brake = notch;
  events->push_back(event(EventKind::kBrake, notch));
}

void Trip::brakeFor(double remaining, std::vector<HostEvent>* events) {
  const double needed = train_.speed * train_.speed / (7.2 * std::max(remaining, 0.5));
  const double notch = std::ceil(needed / kFullServiceDeceleration * kVehicle.brakeNotches);
  setBrake(static_cast<int32_t>(std::clamp(notch, 1.0, double{kVehicle.brakeNotches})), events);
}

void Trip::drive(int32_t time, std::vector<HostEvent>* events) {
  const double remaining = kStopLocation - train_.location;
  const bool mustBrake =
      remaining <= brakingDistance(train_.speed, kPlannedDeceleration) + train_.speed / 3.6 * 2;
  switch (phase_) {
    case Phase::kDeparting:
      for (; nextDepartureEvent_ < std::size(kDeparture); ++nextDepartureEvent_) {
        const ScriptedEvent& due = kDeparture[nextDepartureEvent_];
        if (due.at > time) break;
        if (due.event.kind == EventKind::kPower) handles_.power = due.event.value;
        if (due.event.kind == EventKind::kBrake) handles_.brake = due.event.value;
        events->push_back(due.event);
      }
      if (time >= kDepartureDone) phase_ = Phase::kPowering;
      return;
    case Phase::kPowering:
    case Phase::kCoasting:
      if (mustBrake) {
        setPower(0, events);
        brakeFor(remaining, events);
        lastBrakeChange_ = time;
        phase_ = Phase::kBraking;
      } else if (phase_ == Phase::kPowering && train_.speed >= kCutOffSpeed) {
        setPower(0, events);
        phase_ = Phase::kCoasting;
      } else if (phase_ == Phase::kCoasting && train_.speed < kResumeSpeed) {
        setPower(kResumeNotch, events);
        phase_ = Phase::kPowering;
      }
      return;
    case Phase::kBraking:
      if (train_.speed == 0.0) {
        setBrake(4, events);
        stoppedAt_ = time;
        phase_ = Phase::kStopped;
      } else if (time - lastBrakeChange_ >= 1000) {
        brakeFor(remaining, events);
        lastBrakeChange_ = time;
      }
      return;
    case Phase::kStopped:
      if (time - stoppedAt_ < 3000) return;
      events->push_back(event(EventKind::kDoorOpen, 0));
      phase_ = Phase::kArrived;
      return;
    case Phase::kArrived:
      return;
  }
}

VehicleState Trip::frame(int64_t frame, std::vector<HostEvent>* events) {
  const int32_t time = frameTime(0, kFramesPerSecond, frame);
  drive(time, events);
  // The driver's handles reach the train through the module's Elapse, which
  // returns them, or what a plug-in it chains commanded instead; those of
  // this frame's events reach it from the next frame on.
  advanceTrain(kVehicle, appliedKnown_ ? applied_ : handles_, (time - previousTime_) / 1000.0,
               &train_);
  previousTime_ = time;
  for (; nextLineEvent_ < std::size(kLine); ++nextLineEvent_) {
    if (kLine[nextLineEvent_].at > train_.location) break;
    events->push_back(kLine[nextLineEvent_].event);
  }
  VehicleState state;
  state.location = train_.location;
  state.speed = static_cast<float>(train_.speed);
  state.time = frameTime(kTripStartTime, kFramesPerSecond, frame);
  state.brakeCylinderPressure = static_cast<float>(train_.brakeCylinder);
  state.mainReservoirPressure = static_cast<float>(train_.mainReservoir);
  state.equalizingReservoirPressure = static_cast<float>(train_.equalizingReservoir);
  state.brakePipePressure = static_cast<float>(train_.brakePipe);
  state.straightAirPipePressure = static_cast<float>(train_.straightAirPipe);
  state.current = static_cast<float>(train_.current);
  return state;
}

}  // namespace

RunPlan planBuiltInTrip() {
  RunPlan plan;
  plan.vehicle = kVehicle;
  plan.brakeMode = 0;
  plan.framesPerSecond = kFramesPerSecond;
  plan.frameCount = int64_t{kTripLength} * kFramesPerSecond / 1000;
  auto trip = std::make_shared<Trip>();
  plan.nextFrame = [trip](int64_t frame, std::vector<HostEvent>* events) {
    return trip->frame(frame, events);
  };
  plan.handlesReturned = [trip](const Handles& returned) { trip->handlesReturned(returned); };
  return plan;
}

}  // namespace simhost
