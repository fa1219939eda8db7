// A simple model of an electric train's motion and air brake, good enough
// for a plausible run: speed from the power and brake notches, location
// from speed, traction current from the power notch, and the brake's air
// pressures following the brake notch.
#ifndef LOGGER_TOOLS_SIMHOST_TRAIN_DYNAMICS_H_
#define LOGGER_TOOLS_SIMHOST_TRAIN_DYNAMICS_H_

#include <cstdint>

#include "records/host_records.h"

namespace simhost {

// Pressures in kPa at release with the brake pipe charged.
constexpr double kChargedBrakePipe = 490.0;
// Brake cylinder pressure at the highest service notch and in emergency.
constexpr double kFullServiceCylinder = 440.0;
constexpr double kEmergencyCylinder = 520.0;

// The train at one moment, in the host's units: m, km/h, kPa, A.
struct TrainState {
  double location = 0.0;
  double speed = 0.0;
  double brakeCylinder = kFullServiceCylinder;
  double straightAirPipe = kFullServiceCylinder;
  double equalizingReservoir = kChargedBrakePipe;
  double brakePipe = kChargedBrakePipe;
  double mainReservoir = 800.0;
  double current = 0.0;
  bool compressorRunning = false;
};

// The driver's handles: power 0 to the vehicle's power notches, brake 0 to
// its brake notches, one more being the emergency brake.
struct DriverHandles {
  int32_t power = 0;
  int32_t brake = 0;
};

// Moves train on by seconds under handles for a train built as vehicle.
void advanceTrain(const VehicleSpec& vehicle, const DriverHandles& handles, double seconds,
                  TrainState* train);

// The acceleration in km/h/s that the brake gives at full service.
constexpr double kFullServiceDeceleration = 4.0;

}  // namespace simhost

#endif  // LOGGER_TOOLS_SIMHOST_TRAIN_DYNAMICS_H_
