// Random arguments for the entry points, with the extremes a misbehaving
// host might pass: the largest and smallest integers, NaN, infinities,
// denormals and arbitrary bit patterns.
#ifndef LOGGER_TESTS_RANDOM_HOST_INPUT_H_
#define LOGGER_TESTS_RANDOM_HOST_INPUT_H_

#include <cstdint>
#include <random>

#include "records/host_records.h"

namespace testing_support {

class RandomHostInput {
 public:
  // The same seed gives the same values, on every platform.
  explicit RandomHostInput(uint32_t seed) : random_(seed) {}

  // A number from 0 to bound - 1.
  int below(int bound) { return static_cast<int>(random_() % static_cast<uint32_t>(bound)); }

  // Any 32-bit integer, often an extreme one.
  int32_t integer();

  // Any single-precision number: an extreme, an ordinary value or any bits.
  float single();

  // Any double-precision number: as single, or any 64 bits.
  double real();

  // A vehicle state with every field drawn as above.
  VehicleState state();

 private:
  std::mt19937 random_;
};

}  // namespace testing_support

#endif  // LOGGER_TESTS_RANDOM_HOST_INPUT_H_
