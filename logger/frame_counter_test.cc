#include "logger/frame_counter.h"

#include <gtest/gtest.h>

#include <vector>

namespace logger {
namespace {

// The frames, by their 1-based number in this call, that count marks in
// the next `frames` frames.
std::vector<int> loggedFrames(FrameCounter& counter, int frames) {
  std::vector<int> logged;
  for (int frame = 1; frame <= frames; ++frame) {
    if (counter.countFrame()) logged.push_back(frame);
  }
  return logged;
}

TEST(FrameCounterTest, EveryIntervalthFrameIsLogged) {
  FrameCounter counter;
  counter.setInterval(60);
  EXPECT_EQ(loggedFrames(counter, 59), std::vector<int>{});
  EXPECT_EQ(loggedFrames(counter, 121), (std::vector<int>{1, 61, 121}));  // frames 60, 120, 180

  FrameCounter everyFrame;
  everyFrame.setInterval(1);
  EXPECT_EQ(loggedFrames(everyFrame, 3), (std::vector<int>{1, 2, 3}));
  FrameCounter raised;
  raised.setInterval(-5);
  EXPECT_EQ(loggedFrames(raised, 2), (std::vector<int>{1, 2})) << "intervals below 1 are 1";
}

TEST(FrameCounterTest, NothingIsCountedBeforeTheFirstInterval) {
  FrameCounter counter;
  EXPECT_EQ(loggedFrames(counter, 100), std::vector<int>{});
  counter.setInterval(3);
  EXPECT_EQ(loggedFrames(counter, 6), (std::vector<int>{3, 6}));
}

TEST(FrameCounterTest, ANewIntervalGoesOnFromTheCountSoFar) {
  FrameCounter counter;
  counter.setInterval(60);
  loggedFrames(counter, 100);
  counter.setInterval(7);  // counted 100: the next multiple of 7 is 105
  EXPECT_EQ(loggedFrames(counter, 12), (std::vector<int>{5, 12}));
}

TEST(FrameCounterTest, TheCountWrapsAroundAsA32BitSignedNumber) {
  // 2147483640 is a multiple of 60 (and of 7); the counter then passes the
  // largest value and goes on from the least, -2147483648, which is a
  // multiple of 64 but not of 60 or 7.
  FrameCounter sixty(2147483640 - 1);
  sixty.setInterval(60);
  // Logged: 2147483640, then the multiples of 60 after the wrap: -2147483640
  // is the 16th frame after 2147483640.
  EXPECT_EQ(loggedFrames(sixty, 20), (std::vector<int>{1, 17}));

  FrameCounter sixtyFour(2147483647 - 1);
  sixtyFour.setInterval(64);
  EXPECT_EQ(loggedFrames(sixtyFour, 70), (std::vector<int>{2, 66}))
      << "-2147483648 and -2147483584 are multiples of 64";
}

}  // namespace
}  // namespace logger
