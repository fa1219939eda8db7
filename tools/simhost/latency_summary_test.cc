#include "tools/simhost/latency_summary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

namespace simhost {
namespace {

TEST(LatencySummaryTest, NearestRankOfShuffledCalls) {
  std::vector<int64_t> nanoseconds(2000);
  std::iota(nanoseconds.begin(), nanoseconds.end(), 1);  // 1 to 2000
  std::shuffle(nanoseconds.begin(), nanoseconds.end(), std::mt19937(7));
  const LatencySummary summary = summarizeLatencies(nanoseconds);
  EXPECT_EQ(summary.median, 1000);
  EXPECT_EQ(summary.percentile999, 1998);
  EXPECT_EQ(summary.maximum, 2000);
}

TEST(LatencySummaryTest, FewOrNoCalls) {
  const LatencySummary one = summarizeLatencies({42});
  EXPECT_EQ(one.median, 42);
  EXPECT_EQ(one.percentile999, 42);
  EXPECT_EQ(one.maximum, 42);
  const LatencySummary three = summarizeLatencies({5, 1, 9});
  EXPECT_EQ(three.median, 5);
  EXPECT_EQ(three.percentile999, 9);
  const LatencySummary none = summarizeLatencies({});
  EXPECT_EQ(none.maximum, 0);
}

}  // namespace
}  // namespace simhost
