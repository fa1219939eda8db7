#include "logger/frame_counter.h"

namespace logger {
namespace {

// counter modulo interval (interval at least 1), in 0 to interval - 1.
int32_t remainderOf(int32_t counter, int32_t interval) {
  const int32_t remainder = counter % interval;
  return remainder < 0 ? remainder + interval : remainder;
}

}  // namespace

void FrameCounter::setInterval(int32_t interval) {
  interval_ = interval < 1 ? 1 : interval;
  remainder_ = remainderOf(counter_, interval_);
}

void FrameCounter::resumeAfterWrap() { remainder_ = remainderOf(counter_, interval_); }

}  // namespace logger
