#include "tests/random_host_input.h"

#include <cstring>
#include <iterator>
#include <limits>

namespace testing_support {

int32_t RandomHostInput::integer() {
  using Limits = std::numeric_limits<int32_t>;
  constexpr int32_t kExtremes[] = {0, 1, -1, Limits::max(), Limits::min()};
  if (below(2) == 0) return kExtremes[below(static_cast<int>(std::size(kExtremes)))];
  return static_cast<int32_t>(random_());
}

float RandomHostInput::single() {
  using Limits = std::numeric_limits<float>;
  const float kExtremes[] = {0.0f,
                             -0.0f,
                             Limits::quiet_NaN(),
                             -Limits::quiet_NaN(),
                             Limits::signaling_NaN(),
                             Limits::infinity(),
                             -Limits::infinity(),
                             Limits::denorm_min(),
                             -Limits::denorm_min(),
                             Limits::min(),
                             Limits::max(),
                             Limits::lowest()};
  const int kind = below(3);
  if (kind == 0) return kExtremes[below(static_cast<int>(std::size(kExtremes)))];
  if (kind == 1) return static_cast<float>(static_cast<int32_t>(random_()) % 100000) / 8.0f;
  const uint32_t bits = static_cast<uint32_t>(random_());
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

double RandomHostInput::real() {
  if (below(2) == 0) return single();
  const uint64_t bits = (static_cast<uint64_t>(random_()) << 32) | random_();
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

VehicleState RandomHostInput::state() {
  VehicleState state;
  state.location = real();
  state.speed = single();
  state.time = integer();
  state.brakeCylinderPressure = single();
  state.mainReservoirPressure = single();
  state.equalizingReservoirPressure = single();
  state.brakePipePressure = single();
  state.straightAirPipePressure = single();
  state.current = single();
  return state;
}

}  // namespace testing_support
