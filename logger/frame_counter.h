// Which of the host's frames are logged: every interval-th one, counted
// from when the module was mapped.
#ifndef LOGGER_LOGGER_FRAME_COUNTER_H_
#define LOGGER_LOGGER_FRAME_COUNTER_H_

#include <cstdint>
#include <limits>

namespace logger {

// Counts frames as a 32-bit signed counter that wraps around, and marks each
// frame whose count is a multiple of the interval. Before the first interval
// is set it counts nothing. A frame that is not logged costs an increment and
// two compares; the remainder is worked out afresh only when the interval
// changes and when the counter wraps.
class FrameCounter {
 public:
  // A counter that has counted framesCounted frames already.
  explicit FrameCounter(int32_t framesCounted = 0) : counter_(framesCounted) {}

  // Frames per logged row from the next frame on, at least 1; the count
  // itself goes on.
  void setInterval(int32_t interval);

  // Counts one frame; true when it is to be logged. Before the first
  // setInterval it counts nothing and gives false.
  bool countFrame() {
    if (interval_ == 0) return false;
    counter_ = static_cast<int32_t>(static_cast<uint32_t>(counter_) + 1u);
    if (++remainder_ == interval_) remainder_ = 0;
    if (counter_ == std::numeric_limits<int32_t>::min()) resumeAfterWrap();
    return remainder_ == 0;
  }

 private:
  void resumeAfterWrap();

  int32_t counter_;
  int32_t interval_ = 0;
  // counter_ modulo interval_, from 0 to interval_ - 1, kept in step so that
  // counting needs no division.
  int32_t remainder_ = 0;
};

}  // namespace logger

#endif  // LOGGER_LOGGER_FRAME_COUNTER_H_
