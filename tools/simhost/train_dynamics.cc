#include "tools/simhost/train_dynamics.h"

#include <algorithm>
#include <cmath>

namespace simhost {
namespace {

// Time constants in seconds of the model's first-order lags.
constexpr double kStraightAirPipeLag = 0.4;
constexpr double kCylinderFillLag = 0.9;
constexpr double kCylinderReleaseLag = 1.6;
constexpr double kBrakePipeChargeLag = 1.2;
constexpr double kBrakePipeVentLag = 0.3;
constexpr double kCurrentLag = 0.6;

// Traction: full-notch current and acceleration up to the base speed; above
// it, the motors give constant power.
constexpr double kFullNotchCurrent = 480.0;      // A
constexpr double kFullNotchAcceleration = 3.0;   // km/h/s
constexpr double kBaseSpeed = 40.0;              // km/h
constexpr double kRegenerationCurrent = -360.0;  // A at full service brake

// The main reservoir's compressor governor, in kPa and kPa/s.
constexpr double kCompressorStart = 780.0;
constexpr double kCompressorStop = 880.0;
constexpr double kCompressorRate = 6.0;
// Main reservoir pressure used per kPa of brake cylinder filling.
constexpr double kAirUsedPerCylinderFill = 0.08;

// Closer than this to its target, a lagging value takes the target.
constexpr double kSettled = 0.01;

// value moved toward target by a first-order lag with timeConstant.
double follow(double value, double target, double timeConstant, double seconds) {
  const double moved = value + (target - value) * std::min(1.0, seconds / timeConstant);
  return std::abs(target - moved) < kSettled ? target : moved;
}

// Rolling and air resistance in km/h/s at speed.
double resistance(double speed) {
  return speed <= 0.0 ? 0.0 : 0.02 + 0.0002 * speed + 0.000015 * speed * speed;
}

void advanceAir(const VehicleSpec& vehicle, const DriverHandles& handles, double seconds,
                TrainState* train) {
  const bool emergency = handles.brake > vehicle.brakeNotches;
  const int32_t serviceNotch = std::min(handles.brake, vehicle.brakeNotches);
  const double command = kFullServiceCylinder * serviceNotch / vehicle.brakeNotches;
  train->straightAirPipe = follow(train->straightAirPipe, command, kStraightAirPipeLag, seconds);
  train->equalizingReservoir = emergency ? 0.0 : kChargedBrakePipe;
  const double pipeLag =
      train->equalizingReservoir < train->brakePipe ? kBrakePipeVentLag : kBrakePipeChargeLag;
  train->brakePipe = follow(train->brakePipe, train->equalizingReservoir, pipeLag, seconds);
  const double cylinderTarget = emergency ? kEmergencyCylinder : train->straightAirPipe;
  const double cylinderLag =
      cylinderTarget > train->brakeCylinder ? kCylinderFillLag : kCylinderReleaseLag;
  const double before = train->brakeCylinder;
  train->brakeCylinder = follow(before, cylinderTarget, cylinderLag, seconds);
  train->mainReservoir -= std::max(0.0, train->brakeCylinder - before) * kAirUsedPerCylinderFill;
  if (train->mainReservoir < kCompressorStart) train->compressorRunning = true;
  if (train->mainReservoir >= kCompressorStop) train->compressorRunning = false;
  if (train->compressorRunning) train->mainReservoir += kCompressorRate * seconds;
}

void advanceTraction(const VehicleSpec& vehicle, const DriverHandles& handles, double seconds,
                     TrainState* train) {
  const double powerShare = static_cast<double>(handles.power) / vehicle.powerNotches;
  const double speedShare = train->speed <= kBaseSpeed ? 1.0 : kBaseSpeed / train->speed;
  double target = kFullNotchCurrent * powerShare * speedShare;
  if (handles.power == 0 && handles.brake > 0 && handles.brake <= vehicle.brakeNotches &&
      train->speed > 0.0) {
    // Regenerative braking feeds current back while the train moves well.
    const double brakeShare = static_cast<double>(handles.brake) / vehicle.brakeNotches;
    target = kRegenerationCurrent * brakeShare * std::min(1.0, train->speed / 20.0);
  }
  train->current = follow(train->current, target, kCurrentLag, seconds);
}

}  // namespace

void advanceTrain(const VehicleSpec& vehicle, const DriverHandles& handles, double seconds,
                  TrainState* train) {
  advanceAir(vehicle, handles, seconds, train);
  advanceTraction(vehicle, handles, seconds, train);
  const double traction =
      std::max(0.0, train->current) / kFullNotchCurrent * kFullNotchAcceleration;
  const double braking = std::max(0.0, train->brakeCylinder - 20.0) /
                         (kFullServiceCylinder - 20.0) * kFullServiceDeceleration;
  const double acceleration = traction - braking - resistance(train->speed);
  const double before = train->speed;
  train->speed = std::max(0.0, before + acceleration * seconds);
  if (before == 0.0 && traction <= braking) train->speed = 0.0;
  train->location += (before + train->speed) / 2.0 / 3.6 * seconds;
}

}  // namespace simhost
