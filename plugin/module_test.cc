// The entry points as the host sees them: handles, version, and the values
// that events put into rows.
#include <gtest/gtest.h>

#include <string>

#include "tests/module_fixture.h"

namespace {

using plugin::defaultModuleFileName;
using testing_support::InstalledModule;
using testing_support::sampleState;
using testing_support::TemporaryDirectory;

bool sameHandles(const Handles& actual, const Handles& expected) {
  return actual.brake == expected.brake && actual.power == expected.power &&
         actual.reverser == expected.reverser && actual.reserved == expected.reserved;
}

TEST(EntryPointsTest, ElapseReturnsTheHandlesTheHostLastReported) {
  TemporaryDirectory directory;
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  int32_t panel[256] = {};
  int32_t sound[256] = {};
  EXPECT_TRUE(sameHandles(module->Elapse(sampleState(0), panel, sound), {0, 0, 0, 0}));
  module->SetBrake(3);
  module->SetPower(0);
  module->SetReverser(-1);
  EXPECT_TRUE(sameHandles(module->Elapse(sampleState(1), panel, sound), {3, 0, -1, 0}));
  module->Load();
  module->SetSignal(5);
  module->KeyDown(1);
  module->KeyUp(1);
  module->HornBlow(1);
  module->SetVehicleSpec({8, 5, 1, 7, 10});
  module->Initialize(0);
  for (int frame = 2; frame < 70; ++frame) {
    ASSERT_TRUE(sameHandles(module->Elapse(sampleState(frame), panel, sound), {3, 0, -1, 0}));
  }
  module->SetPower(-2147483647 - 1);
  EXPECT_TRUE(
      sameHandles(module->Elapse(sampleState(70), nullptr, nullptr), {3, -2147483647 - 1, -1, 0}));
  module->Dispose();
  for (int index = 0; index < 256; ++index) {
    ASSERT_EQ(panel[index], 0);
    ASSERT_EQ(sound[index], 0);
  }
}

TEST(EntryPointsTest, GetPluginVersionAnswersTheInterfaceVersion) {
  TemporaryDirectory directory;
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  EXPECT_EQ(module->GetPluginVersion(), 131072);
  module->Load();
  module->Dispose();
  EXPECT_EQ(module->GetPluginVersion(), 0x00020000);
}

TEST(EntryPointsTest, EventsShowInTheNextRowsAndNeverBefore) {
  TemporaryDirectory directory;
  directory.write(
      "Logger.csv",
      "signal,Signal\npilotlamp,Doors\nbeacon_type,Type\nbeacon_signal,BSignal\n"
      "beacon_distance,Distance\nbeacon_optional,Optional\npower,P\nbrake,B\nreverser,R\n");
  directory.write("Logger.ini", "[Frame]\nSkip=1\n");
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  module->Load();
  module->Elapse(sampleState(1), nullptr, nullptr);
  module->SetSignal(4);
  module->DoorOpen();
  module->SetBeaconData({103, 2, 25.5f, -7});
  module->SetPower(2);
  module->SetBrake(0);
  module->SetReverser(1);
  module->Elapse(sampleState(2), nullptr, nullptr);
  module->DoorClose();
  module->SetBeaconData({-1, -2147483647 - 1, 1e7f, 2147483647});
  module->Elapse(sampleState(3), nullptr, nullptr);
  module->Dispose();
  EXPECT_EQ(module.onlyLog(),
            "Signal,Doors,Type,BSignal,Distance,Optional,P,B,R,\r\n"
            ",,,,,,,,,\r\n"
            "4,false,103,2,25.5,-7,2,0,1,\r\n"
            "4,true,-1,-2147483648,1e+007,2147483647,2,0,1,\r\n");
}

}  // namespace
