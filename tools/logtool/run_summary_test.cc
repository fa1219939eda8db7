#include "tools/logtool/run_summary.h"

#include <gtest/gtest.h>

namespace logtool {
namespace {

RowFacts facts(double time, double location, double speed, int doorsClosed) {
  RowFacts row;
  row.time = time;
  row.location = location;
  row.speed = speed;
  row.doorsClosed = doorsClosed;
  return row;
}

TEST(RunSummaryTest, FindsStopsBetweenRunsAndTheirDoors) {
  SummaryBuilder builder;
  // Stands at 100 m with the doors open, runs 36 km/h for 10 s, stands 5 s
  // with the doors shut, runs again, stands to the end with the doors open.
  builder.add(facts(0, 100, 0, 0));
  builder.add(facts(1, 100, 0, 1));
  for (int t = 2; t <= 11; ++t) builder.add(facts(t, 100 + (t - 1) * 10, 36, 1));
  for (int t = 12; t <= 16; ++t) builder.add(facts(t, 200, 0, 1));
  builder.add(facts(17, 210, 36, 1));
  builder.add(facts(18, 220, 0, 1));
  builder.add(facts(19, 220, 0, 0));
  const RunSummary& s = builder.summary();
  EXPECT_EQ(s.rows, 20);
  EXPECT_EQ(s.start, 0);
  EXPECT_EQ(s.end, 19);
  EXPECT_DOUBLE_EQ(s.distance, 120);
  EXPECT_EQ(s.topSpeed, 36);
  ASSERT_EQ(s.stops.size(), 3u);
  EXPECT_TRUE(std::isnan(s.stops[0].arrival));
  EXPECT_EQ(s.stops[0].departure, 1);
  EXPECT_TRUE(s.stops[0].doorsOpened);
  EXPECT_EQ(s.stops[1].arrival, 12);
  EXPECT_EQ(s.stops[1].departure, 16);
  EXPECT_EQ(s.stops[1].location, 200);
  EXPECT_FALSE(s.stops[1].doorsOpened);
  EXPECT_TRUE(s.stops[1].doorsKnown);
  EXPECT_EQ(s.stops[1].dwell(s.start, s.end), 4);
  EXPECT_EQ(s.stops[2].arrival, 18);
  EXPECT_TRUE(std::isnan(s.stops[2].departure));
  EXPECT_EQ(s.stops[2].dwell(s.start, s.end), 1);
  EXPECT_TRUE(s.stops[2].doorsOpened);
  // Moving from 1 s to 12 s and 16 s to 18 s: 120 m in 13 s.
  EXPECT_NEAR(s.movingSpeed, 120.0 / 13 * 3.6, 1e-9);
}

TEST(RunSummaryTest, WithoutLocationTheDistanceComesFromTheSpeed) {
  SummaryBuilder builder;
  builder.add(facts(0, NAN, 0, -1));
  builder.add(facts(10, NAN, 72, -1));  // 0 to 20 m/s: 100 m
  builder.add(facts(20, NAN, 72, -1));  // 200 m
  const RunSummary& s = builder.summary();
  EXPECT_DOUBLE_EQ(s.distance, 300);
  EXPECT_FALSE(s.hasLocation);
  ASSERT_EQ(s.stops.size(), 1u);
  EXPECT_FALSE(s.stops[0].doorsKnown);
}

TEST(RunSummaryTest, PrintsTheRunInAFewLines) {
  SummaryBuilder builder;
  builder.add(facts(90000, 0, 0, 0));
  builder.add(facts(90060, 1000, 60, 1));
  builder.add(facts(90120, 2000, 0, 1));
  EXPECT_EQ(
      formatSummary(builder.summary()),
      "start:        25:00:00.000\n"
      "end:          25:02:00.000\n"
      "duration:     2min 00s (120.000 s)\n"
      "rows:         3\n"
      "distance:     2000.0 m\n"
      "top speed:    60.0 km/h\n"
      "moving speed: 60.0 km/h (average while moving)\n"
      "stops:        2\n"
      "  stop 1: arrived at the start, departed 25:00:00.000, dwell 0 s, at 0.0 m, doors opened\n"
      "  stop 2: arrived 25:02:00.000, departed at the end, dwell 0 s, at 2000.0 m, doors "
      "stayed closed\n");
}

// A log without a clock: no times, and nothing worked out from them, but the
// distance from the location and the stops where they were.
TEST(RunSummaryTest, WithoutTimesNothingIsTimed) {
  SummaryBuilder builder;
  builder.add(facts(NAN, 0, 0, 0));
  builder.add(facts(NAN, 1000, 60, 1));
  builder.add(facts(NAN, 2000, 0, 1));
  EXPECT_EQ(formatSummary(builder.summary()),
            "start:        unknown\n"
            "end:          unknown\n"
            "duration:     unknown\n"
            "rows:         3\n"
            "distance:     2000.0 m\n"
            "top speed:    60.0 km/h\n"
            "moving speed: unknown (average while moving)\n"
            "stops:        2\n"
            "  stop 1: arrived unknown, departed unknown, dwell unknown, at 0.0 m, doors opened\n"
            "  stop 2: arrived unknown, departed unknown, dwell unknown, at 2000.0 m, doors "
            "stayed closed\n");
}

TEST(RunSummaryTest, AnEmptyLogHasNoFigures) {
  SummaryBuilder builder;
  const std::string text = formatSummary(builder.summary());
  EXPECT_NE(text.find("rows:         0\n"), std::string::npos);
  EXPECT_NE(text.find("top speed:    unknown\n"), std::string::npos);
  EXPECT_NE(text.find("start:        unknown\n"), std::string::npos);
}

}  // namespace
}  // namespace logtool
