#include "bench/frame_states.h"

#include <cmath>

namespace bench {

VehicleState tripFrame(int32_t frame) {
  const double phase = frame * 0.0007;
  VehicleState state;
  state.location = 1234.5 + frame * 0.2371;
  state.speed = static_cast<float>(55.0 + 30.0 * std::sin(phase));
  state.time = 36000000 + frame * 16;
  state.brakeCylinderPressure = static_cast<float>(frame % 500) * 0.9f;
  state.mainReservoirPressure = 780.0f + static_cast<float>(frame % 97) * 0.13f;
  state.equalizingReservoirPressure = 490.5f - static_cast<float>(frame % 50) * 0.11f;
  state.brakePipePressure = 488.0f - static_cast<float>(frame % 61) * 0.17f;
  state.straightAirPipePressure = static_cast<float>(frame % 300) * 1.1f;
  state.current = static_cast<float>(320.0 * std::cos(phase * 3.0));
  return state;
}

std::vector<VehicleState> tripFrames(int32_t count) {
  std::vector<VehicleState> frames;
  frames.reserve(static_cast<std::size_t>(count));
  for (int32_t frame = 0; frame < count; ++frame) frames.push_back(tripFrame(frame));
  return frames;
}

}  // namespace bench
