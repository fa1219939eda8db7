// The vehicle states the benchmarks hand to Elapse: a train under way whose
// every value changes from frame to frame, as a host's would.
#ifndef LOGGER_BENCH_FRAME_STATES_H_
#define LOGGER_BENCH_FRAME_STATES_H_

#include <cstdint>
#include <vector>

#include "records/host_records.h"

namespace bench {

// The state of frame number frame of the trip, 16 ms after the one before.
VehicleState tripFrame(int32_t frame);

// The first count frames of the trip, made ahead so that timing skips them.
std::vector<VehicleState> tripFrames(int32_t count);

}  // namespace bench

#endif  // LOGGER_BENCH_FRAME_STATES_H_
