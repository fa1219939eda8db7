#include "tools/simhost/train_dynamics.h"

#include <gtest/gtest.h>

namespace simhost {
namespace {

constexpr VehicleSpec kVehicle = {8, 5, 1, 7, 6};
constexpr double kFrame = 1.0 / 60.0;

// train after seconds under handles, frame by frame.
TrainState runFor(double seconds, const DriverHandles& handles, TrainState train) {
  for (double elapsed = 0.0; elapsed < seconds; elapsed += kFrame) {
    advanceTrain(kVehicle, handles, kFrame, &train);
  }
  return train;
}

TEST(TrainDynamicsTest, TheBrakeCylinderFillsAndReleasesGradually) {
  TrainState train;
  train.brakeCylinder = train.straightAirPipe = 0.0;
  const TrainState halfSecond = runFor(0.5, {0, 8}, train);
  EXPECT_GT(halfSecond.brakeCylinder, 50.0);
  EXPECT_LT(halfSecond.brakeCylinder, 300.0);
  const TrainState full = runFor(8.0, {0, 8}, train);
  EXPECT_NEAR(full.brakeCylinder, kFullServiceCylinder, 1.0);
  EXPECT_NEAR(full.straightAirPipe, kFullServiceCylinder, 1.0);
  const TrainState half = runFor(8.0, {0, 4}, train);
  EXPECT_NEAR(half.brakeCylinder, kFullServiceCylinder / 2, 1.0);
  const TrainState released = runFor(0.5, {0, 0}, full);
  EXPECT_LT(released.brakeCylinder, full.brakeCylinder);
  EXPECT_GT(released.brakeCylinder, 100.0);
  EXPECT_EQ(released.brakePipe, kChargedBrakePipe);
}

TEST(TrainDynamicsTest, TheEmergencyBrakeVentsTheBrakePipe) {
  TrainState train;
  train.speed = 80.0;
  const TrainState after = runFor(3.0, {0, 9}, train);
  EXPECT_EQ(after.equalizingReservoir, 0.0);
  EXPECT_LT(after.brakePipe, 10.0);
  EXPECT_GT(after.brakeCylinder, kFullServiceCylinder);
  EXPECT_LT(after.mainReservoir, train.mainReservoir);
}

TEST(TrainDynamicsTest, PowerAcceleratesAndTheBrakeStopsWithoutGoingBackwards) {
  TrainState train;
  train.brakeCylinder = train.straightAirPipe = 0.0;
  const TrainState powered = runFor(20.0, {5, 0}, train);
  EXPECT_GT(powered.speed, 40.0);
  EXPECT_LT(powered.speed, 70.0);
  EXPECT_GT(powered.current, 200.0);
  EXPECT_GT(powered.location, train.location + 100.0);
  const TrainState powerOff = runFor(3.0, {0, 0}, powered);  // the current has died down
  const TrainState coasting = runFor(10.0, {0, 0}, powerOff);
  EXPECT_LT(coasting.speed, powerOff.speed);
  EXPECT_GT(coasting.speed, powerOff.speed - 5.0);
  EXPECT_NEAR(coasting.current, 0.0, 1.0);
  const TrainState braking = runFor(2.0, {0, 6}, coasting);
  EXPECT_LT(braking.current, 0.0);  // regenerating
  const TrainState stopped = runFor(60.0, {0, 8}, coasting);
  EXPECT_EQ(stopped.speed, 0.0);
  const TrainState standing = runFor(5.0, {0, 8}, stopped);
  EXPECT_EQ(standing.speed, 0.0);
  EXPECT_EQ(standing.location, stopped.location);
}

TEST(TrainDynamicsTest, TheCompressorKeepsTheMainReservoirInItsBand) {
  TrainState train;
  train.brakeCylinder = train.straightAirPipe = 0.0;
  train.mainReservoir = 781.0;
  for (int application = 0; application < 20; ++application) {
    train = runFor(3.0, {0, 8}, train);
    train = runFor(3.0, {0, 0}, train);
    EXPECT_GT(train.mainReservoir, 700.0);
    EXPECT_LE(train.mainReservoir, 881.0);
  }
}

}  // namespace
}  // namespace simhost
