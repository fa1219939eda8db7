// The 32-bit module called by plugin/host_caller_x86.S, a caller written in
// assembly the way the platform's own compiler calls __stdcall functions, on
// stacks aligned to 4 bytes only.
#include <gtest/gtest.h>

#include <cstdint>

#include "tests/module_fixture.h"

namespace {

using testing_support::InstalledModule;
using testing_support::TemporaryDirectory;

// What callEntryPointsAsTheHost saw; the layout host_caller_x86.S writes.
struct HostCallRecord {
  int32_t handles[4];
  int32_t version;
  uint32_t elapseResult;
  int32_t failedCall;
  uint32_t fault;
  uint32_t espBefore;
  uint32_t espAfter;
};

}  // namespace

// Calls Load, SetVehicleSpec, Initialize, SetBrake(3), SetPower(2),
// SetReverser(-1), SetSignal(4), DoorOpen, DoorClose, SetBeaconData, KeyDown,
// HornBlow, KeyUp, Elapse, GetPluginVersion and Dispose, in that order.
extern "C" void callEntryPointsAsTheHost(const void* const entryPoints[16], HostCallRecord* record,
                                         uint32_t misalignment);

namespace {

// Every column the calls fill, in the order of the state's fields, then the
// handles, the signal, the doors and the beacon.
const char kColumns[] =
    "location,L\nspeed,S\ntime,T\nbc,BC\nmr,MR\ner,ER\nbp,BP\nsap,SAP\ncurrent,I\n"
    "power,P\nbrake,B\nreverser,R\nsignal,Sig\npilotlamp,Doors\n"
    "beacon_type,BT\nbeacon_signal,BS\nbeacon_distance,BD\nbeacon_optional,BO\n";

TEST(HostCallerX86Test, EveryEntryPointKeepsTheCallersStackAndRegisters) {
  TemporaryDirectory directory;
  directory.write("Logger.csv", kColumns);
  directory.write("Logger.ini", "[Frame]\nSkip=1\n");
  InstalledModule module(directory.path(), "Logger.dll");
  const void* const entryPoints[16] = {
#define LOGGER_ENTRY_POINT_ADDRESS(result, name, parameters) \
  reinterpret_cast<const void*>(module->name),
      LOGGER_ENTRY_POINTS(LOGGER_ENTRY_POINT_ADDRESS)
#undef LOGGER_ENTRY_POINT_ADDRESS
  };
  for (uint32_t misalignment : {0u, 4u, 8u, 12u}) {
    SCOPED_TRACE(misalignment);
    HostCallRecord record = {};
    callEntryPointsAsTheHost(entryPoints, &record, misalignment);
    EXPECT_EQ(record.failedCall, 0) << "fault " << record.fault << ", esp before 0x" << std::hex
                                    << record.espBefore << ", after 0x" << record.espAfter;
    EXPECT_EQ(record.handles[0], 3);
    EXPECT_EQ(record.handles[1], 2);
    EXPECT_EQ(record.handles[2], -1);
    EXPECT_EQ(record.handles[3], 0);
    EXPECT_EQ(record.elapseResult, reinterpret_cast<uintptr_t>(record.handles));
    EXPECT_EQ(record.version, 131072);
    ASSERT_EQ(module.logs().size(), 1u);
    EXPECT_EQ(
        module.onlyLog(),
        "L,S,T,BC,MR,ER,BP,SAP,I,P,B,R,Sig,Doors,BT,BS,BD,BO,\r\n"
        "1234.5,72.5,36000000,440,800,490,491,12.5,-150.5,2,3,-1,4,true,3,6,125.25,1001,\r\n");
    for (const auto& log : module.logs()) std::filesystem::remove(log);
  }
}

}  // namespace
