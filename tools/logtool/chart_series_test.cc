#include "tools/logtool/chart_series.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace logtool {
namespace {

TEST(ChartDecimatorTest, KeepsEveryRowWhileTheBucketsLast) {
  ChartDecimator decimator(2, 10);
  for (int i = 0; i < 10; ++i) {
    const double values[2] = {i * 2.0, i < 3 ? NAN : 1.0};
    decimator.add(i, 100 + i, values);
  }
  const ChartPoints points = decimator.points();
  EXPECT_EQ(decimator.rowsPerBucket(), 1u);
  ASSERT_EQ(points.time.size(), 10u);
  EXPECT_EQ(points.location[9], 109);
  EXPECT_EQ(points.series[0][9], 18);
  EXPECT_TRUE(std::isnan(points.series[1][2]));
  EXPECT_EQ(points.series[1][3], 1);
}

TEST(ChartDecimatorTest, KeepsEachBucketsExtremesInOrderAndBoundsThePoints) {
  const std::size_t limit = 100;
  ChartDecimator decimator(1, limit);
  const int rows = 100000;
  double lowest = INFINITY, highest = -INFINITY;
  for (int i = 0; i < rows; ++i) {
    // A slow wave with single-row spikes that a plain sample would miss.
    double value = std::sin(i / 5000.0) * 10;
    if (i == 33333) value = 500;
    if (i == 77777) value = -400;
    lowest = std::min(lowest, value);
    highest = std::max(highest, value);
    decimator.add(i * 0.1, i, &value);
  }
  const ChartPoints points = decimator.points();
  EXPECT_LE(points.time.size(), 2 * limit);
  EXPECT_GE(points.time.size(), limit);  // merging halves at most once too often
  EXPECT_EQ(decimator.rowsPerBucket(), 1024u);
  const std::vector<double>& values = points.series[0];
  EXPECT_EQ(*std::max_element(values.begin(), values.end()), highest);
  EXPECT_EQ(*std::min_element(values.begin(), values.end()), lowest);
  EXPECT_TRUE(std::is_sorted(points.time.begin(), points.time.end()));
  EXPECT_EQ(points.time.front(), 0);
  EXPECT_DOUBLE_EQ(points.time.back(), (rows - 1) * 0.1);
  // The spike up comes before the spike down, as in the rows.
  const auto up = std::find(values.begin(), values.end(), 500.0);
  const auto down = std::find(values.begin(), values.end(), -400.0);
  EXPECT_LT(up, down);
}

TEST(ChartDecimatorTest, ALogWithoutColumnsGivesOnlyItsAxes) {
  ChartDecimator decimator(0, 4);
  for (int i = 0; i < 20; ++i) decimator.add(i, NAN, nullptr);
  const ChartPoints points = decimator.points();
  EXPECT_TRUE(points.series.empty());
  EXPECT_EQ(points.time.back(), 19);
}

TEST(ChartDecimatorTest, ASeriesWithoutValuesStaysEmptyThroughMerges) {
  ChartDecimator decimator(2, 4);
  for (int i = 0; i < 50; ++i) {
    const double values[2] = {NAN, i >= 40 ? 7.0 : NAN};
    decimator.add(i, i, values);
  }
  const ChartPoints points = decimator.points();
  EXPECT_TRUE(std::all_of(points.series[0].begin(), points.series[0].end(),
                          [](double v) { return std::isnan(v); }));
  const std::vector<double>& late = points.series[1];
  EXPECT_GT(std::count(late.begin(), late.end(), 7.0), 0);
  EXPECT_TRUE(
      std::all_of(late.begin(), late.end(), [](double v) { return std::isnan(v) || v == 7; }));
  EXPECT_TRUE(std::isnan(late.front()));
}

}  // namespace
}  // namespace logtool
