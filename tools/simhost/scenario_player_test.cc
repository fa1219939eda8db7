#include "tools/simhost/scenario_player.h"

#include <gtest/gtest.h>

#include "tools/simhost/scenario_parser.h"

namespace simhost {
namespace {

// The plan of a scenario text that must parse.
RunPlan planOf(const std::string& text) {
  Scenario scenario;
  std::vector<std::string> errors;
  EXPECT_TRUE(parseScenario(text, "test", &scenario, &errors)) << errors.front();
  return planScenario(scenario);
}

TEST(ScenarioPlayerTest, FramesFollowTheRateFromTheStartTime) {
  RunPlan plan = planOf("rate 60\nstart 1:00:00\nlength 2\n");
  EXPECT_EQ(plan.frameCount, 120);
  std::vector<HostEvent> events;
  EXPECT_EQ(plan.nextFrame(1, &events).time, 3600016);
  EXPECT_EQ(plan.nextFrame(2, &events).time, 3600033);
  EXPECT_EQ(plan.nextFrame(60, &events).time, 3601000);
  EXPECT_TRUE(events.empty());
}

TEST(ScenarioPlayerTest, ValuesHoldRampAndHoldAgain) {
  RunPlan plan = planOf(
      "rate 10\nlength 10\n"
      "0 set bc 400 mr 800\n"
      "2 ramp bc 0 over 2\n"
      "3 set mr 780\n"
      "5 ramp bc 100 over 4\n"
      "7 ramp bc 300 over 1\n");
  std::vector<float> brakeCylinder;
  std::vector<float> mainReservoir;
  std::vector<HostEvent> events;
  for (int64_t frame = 1; frame <= plan.frameCount; ++frame) {
    const VehicleState state = plan.nextFrame(frame, &events);
    brakeCylinder.push_back(state.brakeCylinderPressure);
    mainReservoir.push_back(state.mainReservoirPressure);
  }
  EXPECT_EQ(brakeCylinder[9], 400.0f);   // 1 s: held
  EXPECT_EQ(brakeCylinder[19], 400.0f);  // 2 s: the ramp starts
  EXPECT_EQ(brakeCylinder[29], 200.0f);  // 3 s: half way down
  EXPECT_EQ(brakeCylinder[39], 0.0f);    // 4 s: reached
  EXPECT_EQ(brakeCylinder[49], 0.0f);    // 5 s: held until the next ramp
  EXPECT_EQ(brakeCylinder[69], 50.0f);   // 7 s: the next ramp takes over from here
  EXPECT_EQ(brakeCylinder[74], 175.0f);
  EXPECT_EQ(brakeCylinder[99], 300.0f);
  EXPECT_EQ(mainReservoir[29], 780.0f);
  EXPECT_EQ(mainReservoir[28], 800.0f);
}

TEST(ScenarioPlayerTest, TheLocationFollowsTheSpeedUnlessSet) {
  RunPlan plan = planOf(
      "rate 10\nlength 10\n"
      "0 set location 1000 speed 36\n"  // 10 m/s
      "2 ramp speed 0 over 2\n"
      "6 set location 50\n");
  std::vector<double> location;
  std::vector<HostEvent> events;
  for (int64_t frame = 1; frame <= plan.frameCount; ++frame) {
    location.push_back(plan.nextFrame(frame, &events).location);
  }
  EXPECT_NEAR(location[9], 1010.0, 1e-6);
  EXPECT_NEAR(location[19], 1020.0, 1e-6);
  EXPECT_NEAR(location[39], 1030.0, 1e-6);  // braking from 10 m/s to 0 in 2 s
  EXPECT_NEAR(location[59], 50.0, 1e-6);
  EXPECT_NEAR(location[99], 50.0, 1e-6);
}

TEST(ScenarioPlayerTest, EventsComeBeforeTheFirstFrameAtOrAfterTheirTime) {
  RunPlan plan = planOf(
      "rate 4\nlength 2\n"
      "0 doors open\n"
      "0.3 power 2\n"
      "0.5 brake 1\n"
      "0.5 signal 3\n");
  std::vector<std::vector<HostEvent>> eventsPerFrame(plan.frameCount + 1);
  for (int64_t frame = 1; frame <= plan.frameCount; ++frame) {
    plan.nextFrame(frame, &eventsPerFrame[frame]);
  }
  ASSERT_EQ(eventsPerFrame[1].size(), 1u);  // 0.25 s
  EXPECT_EQ(eventsPerFrame[1][0].kind, EventKind::kDoorOpen);
  ASSERT_EQ(eventsPerFrame[2].size(), 3u);  // 0.5 s
  EXPECT_EQ(eventsPerFrame[2][0].kind, EventKind::kPower);
  EXPECT_EQ(eventsPerFrame[2][1].kind, EventKind::kBrake);
  EXPECT_EQ(eventsPerFrame[2][2].kind, EventKind::kSignal);
  EXPECT_EQ(eventsPerFrame[2][2].value, 3);
  EXPECT_TRUE(eventsPerFrame[3].empty());
}

}  // namespace
}  // namespace simhost
