#include "tools/simhost/scenario_parser.h"

#include <gtest/gtest.h>

#include "tests/temporary_directory.h"

namespace simhost {
namespace {

// The messages parsing text as "run.scenario" gives; none when it is good.
std::vector<std::string> faultsIn(const std::string& text) {
  Scenario scenario;
  std::vector<std::string> errors;
  const bool good = parseScenario(text, "run.scenario", &scenario, &errors);
  EXPECT_EQ(good, errors.empty());
  return errors;
}

using Messages = std::vector<std::string>;

TEST(ScenarioParserTest, AWholeScenario) {
  const char text[] =
      "# comment line\n"
      "\n"
      "vehicle brake-notches 7 power-notches 4 interlock-notch 2 second-brake-notch 6 cars 3\n"
      "rate 30   # frames per second\r\n"
      "start 7:30:00\n"
      "brake-mode 1\n"
      "length 1:00\n"
      "0 set location 100 speed 0 bc 440\n"
      "0 doors open\n"
      "\t2.5  ramp speed 40 current 300 over 10\n"
      "3 beacon 1 4 -25.5 1001\n"
      "3 brake 8\n"
      "60 reverser -1\n";
  Scenario scenario;
  std::vector<std::string> errors;
  ASSERT_TRUE(parseScenario(text, "run.scenario", &scenario, &errors)) << errors.front();
  EXPECT_EQ(scenario.vehicle.brakeNotches, 7);
  EXPECT_EQ(scenario.vehicle.powerNotches, 4);
  EXPECT_EQ(scenario.vehicle.interlockNotch, 2);
  EXPECT_EQ(scenario.vehicle.secondBrakeNotch, 6);
  EXPECT_EQ(scenario.vehicle.cars, 3);
  EXPECT_EQ(scenario.framesPerSecond, 30);
  EXPECT_EQ(scenario.startTime, 27000000);
  EXPECT_EQ(scenario.brakeMode, 1);
  EXPECT_EQ(scenario.length, 60000);
  ASSERT_EQ(scenario.changes.size(), 5u);
  EXPECT_EQ(scenario.changes[2].field, StateField::kBrakeCylinder);
  EXPECT_EQ(scenario.changes[2].target, 440.0);
  EXPECT_EQ(scenario.changes[2].rampTime, 0);
  EXPECT_EQ(scenario.changes[4].atTime, 2500);
  EXPECT_EQ(scenario.changes[4].field, StateField::kCurrent);
  EXPECT_EQ(scenario.changes[4].rampTime, 10000);
  ASSERT_EQ(scenario.events.size(), 4u);
  EXPECT_EQ(scenario.events[0].event.kind, EventKind::kDoorOpen);
  const BeaconData& beacon = scenario.events[1].event.beacon;
  EXPECT_EQ(scenario.events[1].event.kind, EventKind::kBeacon);
  EXPECT_EQ(beacon.type, 1);
  EXPECT_EQ(beacon.signal, 4);
  EXPECT_EQ(beacon.distance, -25.5f);
  EXPECT_EQ(beacon.optional, 1001);
  EXPECT_EQ(scenario.events[2].atTime, 3000);
  EXPECT_EQ(scenario.events[2].event.value, 8);  // the emergency notch of 7
  EXPECT_EQ(scenario.events[3].event.value, -1);
}

TEST(ScenarioParserTest, FaultsInSettings) {
  EXPECT_EQ(faultsIn("length 10\nrate 0\nrate 30\nstart noon\nlength 5\nbrake-mode 1 2\n"),
            (Messages{"run.scenario:2: the rate must be 1 to 1000 frames per second",
                      "run.scenario:3: \"rate\" is given twice (first on line 2)",
                      "run.scenario:4: \"noon\" is not a time (write seconds, m:ss or h:mm:ss, "
                      "as in 90 or 7:30:00)",
                      "run.scenario:5: \"length\" is given twice (first on line 1)",
                      "run.scenario:6: \"brake-mode\" takes one whole number"}));
  EXPECT_EQ(faultsIn("length 9\nvehicle cars 0 wheels 8 power-notches x\nvehicle cars\n"),
            (Messages{"run.scenario:2: \"cars\" must be 1 or more",
                      "run.scenario:2: unknown vehicle property \"wheels\" (known: brake-notches "
                      "power-notches interlock-notch second-brake-notch cars)",
                      "run.scenario:2: \"x\" is not a whole number",
                      "run.scenario:3: \"vehicle\" is given twice (first on line 2)"}));
  EXPECT_EQ(faultsIn("# nothing but a comment\n\n0 power 1\n"),
            (Messages{"run.scenario:3: no length line; say how long the run lasts, as in: "
                      "length 90"}));
  EXPECT_EQ(faultsIn(""), (Messages{"run.scenario:1: no length line; say how long the run "
                                    "lasts, as in: length 90"}));
  EXPECT_EQ(faultsIn("start 596:00:00\nlength 1:00:00\n"),
            (Messages{"run.scenario:2: the run would end after 596:31:23.647, the latest time"}));
}

TEST(ScenarioParserTest, FaultsInTimedLines) {
  EXPECT_EQ(
      faultsIn("length 20\n"
               "speed 60\n"
               "5\n"
               "5 jump 3\n"
               "4 power 1\n"
               "6 power 1 2\n"
               "6 signal red\n"
               "6 doors ajar\n"
               "6 beacon 1 2 3\n"
               "6 beacon 1 2 far 0\n"
               "21 horn 1\n"),
      (Messages{"run.scenario:2: unknown setting or time \"speed\" (a line starts with vehicle, "
                "rate, start, length, brake-mode or a time)",
                "run.scenario:3: a time must be followed by what happens then",
                "run.scenario:4: unknown command \"jump\" (known: set ramp power brake reverser "
                "signal beacon doors key-down key-up horn)",
                "run.scenario:5: time 4 comes before the time of line 4 (5); write lines in time "
                "order",
                "run.scenario:6: \"power\" takes one whole number",
                "run.scenario:7: \"red\" is not a whole number",
                "run.scenario:8: \"doors\" takes open or close",
                "run.scenario:9: \"beacon\" takes four values: type, signal, distance, optional "
                "data",
                "run.scenario:10: \"far\" is not a number",
                "run.scenario:11: time 21 is after the end of the run (20)"}));
}

TEST(ScenarioParserTest, FaultsInStateChangesAndHandles) {
  EXPECT_EQ(
      faultsIn("length 20\n"
               "0 set speed\n"
               "0 set spede 10\n"
               "0 set bc high\n"
               "0 ramp speed 60\n"
               "0 ramp speed 60 over soon\n"
               "0 ramp location 5 over 2\n"
               "1 power 6\n"
               "1 brake 10\n"
               "1 brake -1\n"
               "1 reverser 2\n"
               "1 power 5\n"
               "1 brake 9\n"),
      (Messages{"run.scenario:2: \"set\" takes pairs of a field and its value, as in: set speed "
                "60 bc 0",
                "run.scenario:3: unknown field \"spede\" (known: location speed bc mr er bp sap "
                "current)",
                "run.scenario:4: \"high\" is not a number",
                "run.scenario:5: \"ramp\" ends with over and a duration, as in: ramp speed 60 "
                "over 30",
                "run.scenario:6: \"soon\" is not a duration (write seconds, as in 30 or 2.5)",
                "run.scenario:7: location cannot be ramped: it follows the speed",
                "run.scenario:8: power notch 6 is out of range 0 to 5",
                "run.scenario:9: brake notch 10 is out of range 0 to 9 (9 is the emergency brake)",
                "run.scenario:10: brake notch -1 is out of range 0 to 9 (9 is the emergency brake)",
                "run.scenario:11: reverser position 2 is out of range -1 to 1"}));
}

TEST(ScenarioParserTest, AFileThatCannotBeRead) {
  testing_support::TemporaryDirectory directory;
  const std::string missing = (directory.path() / "missing.scenario").string();
  Scenario scenario;
  std::vector<std::string> errors;
  EXPECT_FALSE(readScenarioFile(missing, &scenario, &errors));
  EXPECT_EQ(errors, (Messages{missing + ": cannot read the file"}));
  const std::string good = directory.write("good.scenario", "length 5\n5 doors open\n").string();
  errors.clear();
  EXPECT_TRUE(readScenarioFile(good, &scenario, &errors));
  EXPECT_EQ(scenario.events.size(), 1u);
}

}  // namespace
}  // namespace simhost
