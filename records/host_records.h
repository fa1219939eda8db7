// The records exchanged with the host simulator, laid out byte for byte as
// the host passes them. The module's entry points, its logic and the hosts
// that drive it all include this header, so every side shares one layout.
#ifndef LOGGER_RECORDS_HOST_RECORDS_H_
#define LOGGER_RECORDS_HOST_RECORDS_H_

#include <cstddef>
#include <cstdint>

// The train's status in one simulation frame, handed to Elapse.
struct VehicleState {
  double location;                    // train location
  float speed;                        // speed
  int32_t time;                       // simulation time in milliseconds
  float brakeCylinderPressure;        // BC
  float mainReservoirPressure;        // MR
  float equalizingReservoirPressure;  // ER
  float brakePipePressure;            // BP
  float straightAirPipePressure;      // SAP
  float current;                      // traction current
};

// A beacon the train passed, handed to SetBeaconData.
struct BeaconData {
  int32_t type;      // beacon type
  int32_t signal;    // signal value the beacon carries
  float distance;    // distance
  int32_t optional;  // optional data
};

// The driver's handle positions, returned by Elapse.
struct Handles {
  int32_t brake;
  int32_t power;
  int32_t reverser;
  int32_t reserved;  // always 0
};

// The train's build, handed to SetVehicleSpec.
struct VehicleSpec {
  int32_t brakeNotches;
  int32_t powerNotches;
  int32_t interlockNotch;
  int32_t secondBrakeNotch;
  int32_t cars;
};

// The same on 32-bit and 64-bit builds: the double needs no padding before or
// after it, whether the compiler aligns it to 4 bytes or to 8.
static_assert(sizeof(VehicleState) == 40, "VehicleState is 40 bytes");
static_assert(offsetof(VehicleState, location) == 0 && offsetof(VehicleState, speed) == 8 &&
                  offsetof(VehicleState, time) == 12 &&
                  offsetof(VehicleState, brakeCylinderPressure) == 16 &&
                  offsetof(VehicleState, current) == 36,
              "VehicleState field offsets");
static_assert(sizeof(BeaconData) == 16 && offsetof(BeaconData, distance) == 8 &&
                  offsetof(BeaconData, optional) == 12,
              "BeaconData layout");
static_assert(sizeof(Handles) == 16, "Handles is 16 bytes");
static_assert(sizeof(VehicleSpec) == 20, "VehicleSpec is 20 bytes");

// The version of the plug-in interface the module implements.
constexpr int32_t kPluginInterfaceVersion = 0x00020000;

#endif  // LOGGER_RECORDS_HOST_RECORDS_H_
