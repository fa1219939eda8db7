// The module with the train's own plug-in chained behind it: every call
// reaches the plug-in, Elapse returns what the plug-in commanded, and the
// log holds the driver's handles beside the plug-in's, and the panel and
// sound entries. A chain that cannot be used leaves the module alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/chain_fixture.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ChainedFolders;
using testing_support::readFileBytes;
using testing_support::stateAt;

const char kColumns[] =
    "time,Time\npower,Power\nbrake,Brake\nreverser,Reverser\n"
    "plugin_power,P power\nplugin_brake,P brake\nplugin_reverser,P reverser\n"
    "plugin_constant_speed,P constant\npanel_0,Lamp\nsound_0,Chime\npanel_3,Host panel\n"
    "sound_255,Host sound\npanel_3,Host panel again\n";

const char kEveryFrame[] = "[Frame]\nSkip=1\n";

bool sameHandles(const Handles& a, const Handles& b) {
  return a.brake == b.brake && a.power == b.power && a.reverser == b.reverser &&
         a.reserved == b.reserved;
}

// Drives a run of five frames: the guard trips at 85 km/h in the second
// and lets go when the train stops in the fourth; the fifth has no arrays.
// Returns what each Elapse returned.
std::array<Handles, 5> driveGuardedRun(plugin::PluginModule& module) {
  std::array<int32_t, 256> panel{};
  std::array<int32_t, 256> sound{};
  sound[255] = 7;
  module.SetSignal(1);  // before Load: reaches no plug-in
  module.Load();
  module.GetPluginVersion();
  module.SetVehicleSpec({8, 5, 1, 7, 10});
  module.Initialize(1);
  module.SetReverser(1);
  module.SetPower(3);
  module.SetBeaconData({3, 4, 125.25f, 1001});
  module.KeyDown(5);
  module.KeyUp(5);
  module.HornBlow(1);
  module.DoorClose();
  module.DoorOpen();
  module.SetSignal(4);
  std::array<Handles, 5> returned{};
  const float speeds[] = {50.0f, 85.0f, 60.0f, 0.0f, 10.0f};
  for (int frame = 0; frame < 5; ++frame) {
    panel[3] = 40 + frame;
    if (frame == 2) module.SetBrake(2);
    const bool arrays = frame < 4;
    returned[frame] =
        module.Elapse(stateAt(1000 * (frame + 1), speeds[frame]), arrays ? panel.data() : nullptr,
                      arrays ? sound.data() : nullptr);
  }
  EXPECT_EQ(panel[0], 0);  // the plug-in let go in frame 4; the module writes nothing
  EXPECT_EQ(sound[255], 7);
  module.Dispose();
  module.SetPower(1);  // after Dispose: reaches no plug-in
  return returned;
}

TEST(ChainTest, EveryCallReachesThePluginAndItsHandlesAreReturnedAndLogged) {
  ChainedFolders folders(kColumns, kEveryFrame + ChainedFolders::relativeChain());
  const std::array<Handles, 5> returned = driveGuardedRun(*folders.module);

  EXPECT_EQ(
      folders.guard.record(),
      "GetPluginVersion\n"  // the module's own check, before the plug-in's Load
      "Load\nGetPluginVersion\nSetVehicleSpec 8 5 1 7 10\nInitialize 1\nSetReverser 1\n"
      "SetPower 3\nSetBeaconData 3 4 125.25 1001\nKeyDown 5\nKeyUp 5\nHornBlow 1\n"
      "DoorClose\nDoorOpen\nSetSignal 4\n"
      "Elapse 1000 50 1000 40 0\nElapse 1000 85 2000 41 0\nSetBrake 2\nElapse 1000 60 3000 42 0\n"
      "Elapse 1000 0 4000 43 0\nElapse 1000 10 5000 -1 -1\nDispose\n");
  const Handles driver{0, 3, 1, 0};
  const Handles emergency{9, 0, 1, 2};
  EXPECT_TRUE(sameHandles(returned[0], driver));
  EXPECT_TRUE(sameHandles(returned[1], emergency));
  EXPECT_TRUE(sameHandles(returned[2], emergency));
  EXPECT_TRUE(sameHandles(returned[3], Handles{2, 3, 1, 0}));
  EXPECT_TRUE(sameHandles(returned[4], Handles{2, 3, 1, 0}));
  EXPECT_EQ(folders.module.onlyLog(),
            "Time,Power,Brake,Reverser,P power,P brake,P reverser,P constant,Lamp,Chime,"
            "Host panel,Host sound,Host panel again,\r\n"
            "1000,3,,1,3,0,1,0,0,0,40,7,40,\r\n"
            "2000,3,,1,0,9,1,2,1,1,41,7,41,\r\n"
            "3000,3,2,1,0,9,1,2,1,0,42,7,42,\r\n"
            "4000,3,2,1,3,2,1,0,0,0,43,7,43,\r\n"
            "5000,3,2,1,3,2,1,0,,,,,,\r\n");
  EXPECT_FALSE(fs::exists(folders.errorFile()));
}

TEST(ChainTest, WithoutAChainThePluginColumnsAreEmptyAndTheArraysAreTheHosts) {
  ChainedFolders folders(kColumns, kEveryFrame);
  const std::array<Handles, 5> returned = driveGuardedRun(*folders.module);
  EXPECT_EQ(folders.guard.record(), "");
  EXPECT_TRUE(sameHandles(returned[1], Handles{0, 3, 1, 0}));
  const std::string log = folders.module.onlyLog();
  EXPECT_NE(log.find("\r\n2000,3,,1,,,,,0,0,41,7,41,\r\n"), std::string::npos) << log;
  EXPECT_FALSE(fs::exists(folders.errorFile()));
}

// The start of a module file built for the other architecture of this
// platform, which the loader refuses.
std::string otherArchitectureHeader() {
  std::string header(512, '\0');
  const bool wide = sizeof(void*) == 8;
  if (std::string(platform::moduleExtension()) == ".dll") {
    header.replace(0, 2, "MZ");
    header[0x3c] = 0x40;
    header.replace(0x40, 4, std::string("PE\0\0", 4));
    header[0x44] = wide ? '\x4c' : '\x64';  // i386 for a 64-bit module, x64 for a 32-bit one
    header[0x45] = wide ? '\x01' : '\x86';
  } else {
    header.replace(0, 4,
                   "\x7f"
                   "ELF");
    header[4] = wide ? 1 : 2;  // the other class
    header[5] = 1;             // little-endian
    header[6] = 1;
    header[16] = 3;  // a shared object
    header[18] = wide ? 3 : 62;
  }
  return header;
}

// One way of naming a chain the module cannot use.
struct UnusableChain {
  const char* what;
  const char* fixtureName;  // the train plug-in's build
  int mode;                 // SpeedGuard's mode
  std::string chain;        // the logger's chain section
  const char* reason;       // what the error file says
};

std::vector<UnusableChain> unusableChains() {
  const std::string extension = platform::moduleExtension();
  return {
      {"missing", "SpeedGuard", 0, "[Chain]\nPlugin=..\\train\\Missing" + extension + "\n",
       "the file does not exist"},
      {"other architecture", "SpeedGuard", 0, "[Chain]\nPlugin=../train/Other" + extension + "\n",
       "it is built for "},
      {"without SetBeaconData", "SpeedGuardWithoutBeacon", 0, ChainedFolders::relativeChain(),
       "it has no entry point SetBeaconData"},
      {"old interface", "SpeedGuard", 3, ChainedFolders::relativeChain(),
       "it answers interface version 0x00010000, and the host needs 0x00020000"},
      {"itself", "SpeedGuard", 0, "[Chain]\nPlugin=Logger" + extension + "\n",
       "it is this logger itself"},
      {"a copy that chains back", "SpeedGuard", 0,
       "[Chain]\nPlugin=..\\train\\Logger" + extension + "\n", "it chains back to this logger"},
  };
}

TEST(ChainTest, AnUnusableChainLeavesTheLoggerAloneAndSaysWhyUntilAChainWorks) {
  for (const UnusableChain& unusable : unusableChains()) {
    SCOPED_TRACE(unusable.what);
    ChainedFolders folders("plugin_brake,P brake\npower,Power\n", kEveryFrame + unusable.chain,
                           unusable.fixtureName);
    folders.root.write("train/Other" + std::string(platform::moduleExtension()),
                       otherArchitectureHeader());
    // A second logger in the train's folder that chains the first one back.
    fs::copy_file(testing_support::builtModulePath(),
                  folders.root.path() / "train" / plugin::defaultModuleFileName());
    folders.root.write("train/Logger.ini",
                       "[Chain]\nPlugin=../logger/" + plugin::defaultModuleFileName() + "\n");
    folders.guard.setMode(unusable.mode);

    plugin::PluginModule& module = *folders.module;
    module.Load();
    module.SetPower(2);
    EXPECT_TRUE(
        sameHandles(module.Elapse(stateAt(1000, 90.0f), nullptr, nullptr), Handles{0, 2, 0, 0}));
    module.Dispose();
    EXPECT_EQ(folders.module.onlyLog(), "P brake,Power,\r\n,2,\r\n");
    const std::string error = readFileBytes(folders.errorFile());
    EXPECT_NE(error.find(unusable.reason), std::string::npos) << error;
    EXPECT_NE(error.find("The logger could not chain the plug-in " +
                         folders.loggerDirectory().u8string()),
              std::string::npos)
        << error;
    EXPECT_EQ(folders.guard.record().find("Load"), std::string::npos);
    for (const auto& log : folders.module.logs()) fs::remove(log);

    folders.guard.setMode(0);
    folders.root.write("logger/Logger.ini", kEveryFrame + ChainedFolders::relativeChain());
    if (std::string(unusable.fixtureName) == "SpeedGuard") {
      module.Load();
      module.Dispose();
      EXPECT_FALSE(fs::exists(folders.errorFile()));
    }
  }
}

// The module unloaded with a run open and a plug-in chained, and loaded
// again without a Dispose between: no call hangs, and both runs' logs are
// written whole.
TEST(ChainTest, UnloadingWithARunOpenAndLoadingTwiceLoseNoLog) {
  ChainedFolders folders("time,Time\nplugin_brake,P brake\n",
                         kEveryFrame + ChainedFolders::relativeChain());
  plugin::PluginModule& module = *folders.module;
  module.Load();
  module.Elapse(stateAt(1000, 90.0f), nullptr, nullptr);
  module.Load();
  module.Elapse(stateAt(2000, 50.0f), nullptr, nullptr);
  module.close();
  // The first run's end may still be under way on the system's thread pool.
  ASSERT_TRUE(testing_support::awaitFinishedLogs(folders.loggerDirectory(), 2));
  std::vector<std::string> logs;
  for (const auto& log : folders.module.logs()) logs.push_back(readFileBytes(log));
  std::sort(logs.begin(), logs.end());
  EXPECT_EQ(logs, (std::vector<std::string>{"Time,P brake,\r\n1000,1,\r\n",
                                            "Time,P brake,\r\n2000,1,\r\n"}));
  EXPECT_EQ(folders.guard.record(),
            "GetPluginVersion\nLoad\nElapse 1000 90 1000 -1 -1\nLoad\n"
            "Elapse 1000 50 2000 -1 -1\n");
}

}  // namespace
