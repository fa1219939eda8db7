// A scripted run as a scenario file describes it: the train's build, the
// frame rate, when the run starts and how long it lasts, the train's state
// set or ramped at given times, and the host's events at given times.
#ifndef LOGGER_TOOLS_SIMHOST_SCENARIO_H_
#define LOGGER_TOOLS_SIMHOST_SCENARIO_H_

#include <cstdint>
#include <vector>

#include "records/host_records.h"
#include "tools/simhost/host_event.h"

namespace simhost {

// The parts of the train's state a scenario sets; the time is the frame's.
enum class StateField {
  kLocation,
  kSpeed,
  kBrakeCylinder,
  kMainReservoir,
  kEqualizingReservoir,
  kBrakePipe,
  kStraightAirPipe,
  kCurrent,
};
constexpr int kStateFieldCount = 8;

// From atTime on, field moves in a straight line to target over rampTime
// milliseconds (0: at once) and then holds it.
struct StateChange {
  int32_t atTime = 0;  // milliseconds after the run's start
  StateField field = StateField::kSpeed;
  double target = 0.0;
  int32_t rampTime = 0;
};

// An event the host sends before the first frame at or after atTime.
struct TimedEvent {
  int32_t atTime = 0;  // milliseconds after the run's start
  HostEvent event;
};

struct Scenario {
  VehicleSpec vehicle = {8, 5, 1, 7, 6};
  int32_t brakeMode = 0;
  int32_t framesPerSecond = 60;
  int32_t startTime = 0;             // simulation time at the run's start, milliseconds
  int32_t length = 0;                // the run's length, milliseconds
  std::vector<StateChange> changes;  // in time order
  std::vector<TimedEvent> events;    // in time order
};

}  // namespace simhost

#endif  // LOGGER_TOOLS_SIMHOST_SCENARIO_H_
