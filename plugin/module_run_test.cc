// Whole runs through the exported entry points, checked byte for byte
// against the log files they write.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <ctime>
#include <fstream>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "tests/module_fixture.h"
#include "tools/plugin_host/current_directory.h"

namespace {

using plugin::defaultModuleFileName;
using plugin_host::CurrentDirectory;
using testing_support::expectedLog;
using testing_support::InstalledModule;
using testing_support::readFileBytes;
using testing_support::sampleState;
using testing_support::stateAt;
using testing_support::TemporaryDirectory;

// The column file of the whole-run log: every key of the catalogue, one
// mistyped, one with a blank before it, and one listed twice.
const char kAllColumns[] =
    "time_hhmmss,Time\r\n"
    "time,Milliseconds\r\n"
    "location,Location m\r\n"
    "speed,Speed km/h\r\n"
    "acceleration,Acceleration km/h/s\r\n"
    "bc,BC kPa\r\n"
    "mr,MR kPa\r\n"
    "er,ER kPa\r\n"
    "bp,BP kPa\r\n"
    "sap,SAP kPa\r\n"
    "current,Current A\r\n"
    "power,Power\r\n"
    "brake,Brake\r\n"
    "reverser,Reverser\r\n"
    "signal,Signal\r\n"
    "pilotlamp,Doors closed\r\n"
    "beacon_type,Beacon\r\n"
    "beacon_signal,Beacon signal\r\n"
    "beacon_distance,Beacon distance\r\n"
    "beacon_optional,Beacon data\r\n"
    "spede,Typo\r\n"
    " speed,Blank before\r\n"
    "SPEED,Speed again,unit\r\n"
    "not a column\r\n";

// Drives a run of 40 frames at interval 3 with events between them.
void driveWholeRun(plugin::PluginModule& module) {
  module.SetSignal(2);
  module.Load();
  module.SetVehicleSpec({8, 5, 1, 7, 10});
  module.Initialize(1);
  for (int frame = 1; frame <= 40; ++frame) {
    if (frame == 4) module.SetReverser(1);
    if (frame == 7) module.DoorClose();
    if (frame == 10) module.SetPower(3);
    if (frame == 16) module.SetBeaconData({3, 4, 125.25f, 1001});
    if (frame == 22) module.SetPower(0);
    if (frame == 25) module.SetBrake(4);
    if (frame == 31) module.SetSignal(0);
    if (frame == 37) module.DoorOpen();
    module.KeyDown(frame);
    module.Elapse(sampleState(frame), nullptr, nullptr);
    module.KeyUp(frame);
  }
  module.Dispose();
}

// The log of the whole run for a module beside this column file and settings.
std::string wholeRunLog(const std::string& columns, const std::string& settings) {
  TemporaryDirectory directory;
  directory.write("Logger.csv", columns);
  directory.write("Logger.ini", settings);
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  driveWholeRun(*module);
  return module.onlyLog();
}

TEST(ModuleRunTest, AWholeRunWritesTheCommittedLog) {
  EXPECT_EQ(wholeRunLog(kAllColumns, "[Frame]\nSkip=3\n"), expectedLog("whole_run.csv"));
}

TEST(ModuleRunTest, AWholeRunForCommaDecimalSpreadsheetsWritesTheCommittedLog) {
  // Two more columns: a title that must be quoted, and one cut at its comma.
  const std::string columns = std::string(kAllColumns) +
                              "beacon_distance,Distance; to \"the\" beacon\r\n"
                              "location,Location, m\r\n";
  EXPECT_EQ(wholeRunLog(columns, "[Frame]\nSkip=3\n[Log]\nDecimalComma=1\n"),
            expectedLog("whole_run_decimal_comma.csv"));
}

TEST(ModuleRunTest, ValuesCarriedIntoARunAreWrittenWithItsDecimalMark) {
  TemporaryDirectory directory;
  directory.write("Logger.csv", "beacon_distance,D\nsignal,S\ntime_hhmmss,T\n");
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  module->SetBeaconData({3, 4, 125.25f, 1001});
  std::vector<std::string> logs;
  for (const char* decimalComma : {"1", "0"}) {
    directory.write("Logger.ini",
                    std::string("[Frame]\nSkip=1\n[Log]\nDecimalComma=") + decimalComma + "\n");
    module->Load();
    module->Elapse(stateAt(1500, 0.0f), nullptr, nullptr);
    module->Dispose();
    for (const auto& log : module.logs()) logs.push_back(readFileBytes(log));
    for (const auto& log : module.logs()) std::filesystem::remove(log);
  }
  EXPECT_EQ(logs, (std::vector<std::string>{"D;S;T;\r\n\"125,25\";;\"00:00:01,500\";\r\n",
                                            "D,S,T,\r\n125.25,,00:00:01.500,\r\n"}));
}

// A change of speed between two logged frames.
struct SpeedStep {
  int32_t milliseconds;
  float from;
  float to;
};

// Steps whose acceleration rounds differently when the arithmetic keeps more
// than single precision between its steps (x87's 80-bit registers on 32-bit
// x86): the log shows the single-precision result, as on x64.
const SpeedStep kAccelerationEdges[] = {
    {1000, 0x1.c313acp+5f, 0x1.7ebc0cp+5f},  // -8.54278, not -8.54279
    {1000, 0x1.88794ep+2f, 0x1.82392ap+4f},  // 18.0065, not 18.0066
    {17, 0x1.ed401ap-1f, 0x1.92e24cp+0f},    // 35.9051, not 35.905
    {17, 0x1.19a42cp+0f, 0x1.5ce484p-4f},    // -59.7049, not -59.7048
    {17, 0x1.aa058p+0f, 0x1.77b24ep-3f},     // -87.1, not -87.1001
    {16, 0x1.3bdba6p-7f, 0x1.331546p-4f},    // 4.08327, not 4.08326
};

// Locations whose seventh significant digit is a 5, exactly or within a
// rounding error, and their neighbours one unit in the last place away.
const double kSixDigitEdges[] = {1.234565,     123456.5,  999999.5, 9.999995,
                                 0.0001234565, 1234565.0, 99999.95, 9.999995e-5};

TEST(ModuleRunTest, RoundingEdgesWriteTheCommittedLog) {
  TemporaryDirectory directory;
  directory.write("Logger.csv", "time,T\nspeed,S\nacceleration,A\nlocation,L\n");
  directory.write("Logger.ini", "[Frame]\nSkip=1\n");
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  module->Load();
  int32_t time = 0;
  for (const SpeedStep& step : kAccelerationEdges) {
    time += 5000;
    module->Elapse(stateAt(time, step.from), nullptr, nullptr);
    time += step.milliseconds;
    module->Elapse(stateAt(time, step.to), nullptr, nullptr);
  }
  for (const double edge : kSixDigitEdges) {
    for (const double location : {std::nextafter(edge, 0.0), edge, std::nextafter(edge, 1e300)}) {
      VehicleState state = stateAt(time += 16, 0.0f);
      state.location = location;
      module->Elapse(state, nullptr, nullptr);
    }
  }
  module->Dispose();
  EXPECT_EQ(module.onlyLog(), expectedLog("rounding_edges.csv"));
}

TEST(ModuleRunTest, TheLogIsTheSameInACommaDecimalLocale) {
  const char* german = std::setlocale(LC_ALL, "de_DE.UTF-8");
  if (!german) german = std::setlocale(LC_ALL, "German");
  if (!german) GTEST_SKIP() << "no German locale installed";
  const std::string log = wholeRunLog(kAllColumns, "[Frame]\nSkip=3\n");
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(log, expectedLog("whole_run.csv"));
}

TEST(ModuleRunTest, ExtremeValuesGiveDefinedTexts) {
  TemporaryDirectory directory;
  directory.write("Logger.csv", "time,T\ntime_hhmmss,Clock\nacceleration,A\nspeed,S\n");
  directory.write("Logger.ini", "[Frame]\nSkip=1\n");
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  module->Load();
  const int32_t latest = std::numeric_limits<int32_t>::max();
  const int32_t earliest = std::numeric_limits<int32_t>::min();
  module->Elapse(stateAt(latest, std::numeric_limits<float>::infinity()), nullptr, nullptr);
  module->Elapse(stateAt(earliest, std::numeric_limits<float>::quiet_NaN()), nullptr, nullptr);
  module->Elapse(stateAt(earliest, std::numeric_limits<float>::denorm_min()), nullptr, nullptr);
  module->Dispose();
  EXPECT_EQ(module.onlyLog(),
            "T,Clock,A,S,\r\n"
            "2147483647,596:31:23.647,inf,inf,\r\n"
            "-2147483648,-596:-31:-23.-648,nan,nan,\r\n"
            "-2147483648,-596:-31:-23.-648,0,1.4013e-045,\r\n");
}

TEST(ModuleRunTest, AccelerationSpansTheTimeBetweenTwoRows) {
  TemporaryDirectory directory;
  directory.write("Logger.csv", "acceleration,A\n");
  directory.write("Logger.ini", "[Frame]\nSkip=1\n");
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  module->Load();
  module->Elapse(stateAt(0, 10.0f), nullptr, nullptr);
  module->Elapse(stateAt(10000, 36.0f), nullptr, nullptr);
  module->Elapse(stateAt(20000, 72.0f), nullptr, nullptr);
  module->Elapse(stateAt(20000, 80.0f), nullptr, nullptr);
  module->Dispose();
  EXPECT_EQ(module.onlyLog(), "A,\r\n0,\r\n2.6,\r\n3.6,\r\n0,\r\n");
}

TEST(ModuleRunTest, WithoutAColumnFileTheLogHoldsEmptyLines) {
  TemporaryDirectory directory;
  directory.write("Logger.ini", "[Frame]\nSkip=0\n");
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  module->Load();
  for (int frame = 1; frame <= 3; ++frame) module->Elapse(sampleState(frame), nullptr, nullptr);
  module->Dispose();
  EXPECT_EQ(module.onlyLog(), "\r\n\r\n\r\n\r\n");
}

TEST(ModuleRunTest, TheDefaultIntervalLogsEverySixtiethFrame) {
  TemporaryDirectory directory;
  directory.write("Logger.csv", "time,T\n");
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  module->Load();
  for (int frame = 1; frame <= 119; ++frame) {
    module->Elapse(stateAt(frame, 0.0f), nullptr, nullptr);
  }
  module->Dispose();
  EXPECT_EQ(module.onlyLog(), "T,\r\n60,\r\n");
}

TEST(ModuleRunTest, TheModulesSettingsWinOverTheHostsSharedFile) {
  TemporaryDirectory host;
  TemporaryDirectory plugins;
  CurrentDirectory inHost(host.path());
  host.write("Ats.ini", "[Frame]\nSkip=2\n");
  plugins.write("Logger.csv", "time,T\n");
  InstalledModule module(plugins.path(), plugin::defaultModuleFileName());
  auto runOfSixFrames = [&module] {
    module->Load();
    for (int frame = 1; frame <= 6; ++frame) module->Elapse(stateAt(frame, 0.0f), nullptr, nullptr);
    module->Dispose();
  };
  runOfSixFrames();
  plugins.write("Logger.ini", "[frame]\n  skip = 4\n");
  runOfSixFrames();
  const auto logs = module.logs();
  ASSERT_EQ(logs.size(), 2u);
  EXPECT_EQ(readFileBytes(logs[0]), "T,\r\n2,\r\n4,\r\n6,\r\n");
  EXPECT_EQ(readFileBytes(logs[1]), "T,\r\n2,\r\n6,\r\n");
}

TEST(ModuleRunTest, ElapseBeforeTheFirstLoadSamplesNothing) {
  TemporaryDirectory directory;
  directory.write("Logger.csv", "time,T\nacceleration,A\n");
  directory.write("Logger.ini", "[Frame]\nSkip=2\n");
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  module->Elapse(stateAt(5000, 50.0f), nullptr, nullptr);
  module->Load();
  module->Elapse(stateAt(10000, 10.0f), nullptr, nullptr);
  module->Elapse(stateAt(20000, 20.0f), nullptr, nullptr);
  module->Dispose();
  EXPECT_EQ(module.onlyLog(), "T,A,\r\n20000,1,\r\n");
}

TEST(ModuleRunTest, EachRunWritesItsOwnLogOnce) {
  TemporaryDirectory directory;
  directory.write("Logger.csv", "time,T\n");
  directory.write("Logger.ini", "[Frame]\nSkip=1\n");
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  module->Dispose();
  EXPECT_TRUE(module.logs().empty());
  module->Load();
  module->Elapse(stateAt(1, 0.0f), nullptr, nullptr);
  module->Dispose();
  module->Elapse(stateAt(2, 0.0f), nullptr, nullptr);
  module->Dispose();
  ASSERT_EQ(module.logs().size(), 1u);
  module->Load();
  module->Elapse(stateAt(3, 0.0f), nullptr, nullptr);
  module->Dispose();
  const auto logs = module.logs();
  ASSERT_EQ(logs.size(), 2u);
  EXPECT_EQ(readFileBytes(logs[0]), "T,\r\n1,\r\n");
  EXPECT_EQ(readFileBytes(logs[1]), "T,\r\n3,\r\n");
}

// The log name a run started at time would take first.
std::string logNameAt(std::time_t time) {
  char name[64];
  std::strftime(name, sizeof name, "Log_%y%m%d-%H%M%S", std::localtime(&time));
  return name;
}

TEST(ModuleRunTest, ALogNeverReplacesAnExistingFile) {
  TemporaryDirectory directory;
  const std::time_t now = std::time(nullptr);
  for (std::time_t second = now; second < now + 5; ++second) {
    directory.write(logNameAt(second) + ".csv", "earlier run");
  }
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  module->Load();
  module->Dispose();
  const auto logs = module.logs();
  ASSERT_EQ(logs.size(), 6u);
  int earlier = 0;
  for (const auto& log : logs) {
    const std::string bytes = readFileBytes(log);
    if (bytes == "earlier run") {
      ++earlier;
    } else {
      EXPECT_EQ(bytes, "\r\n");
      EXPECT_EQ(log.filename().string().substr(17), "_2.csv");
    }
  }
  EXPECT_EQ(earlier, 5);
}

TEST(ModuleRunTest, TheModuleFindsItsFilesByItsOwnFileName) {
  TemporaryDirectory directory;
  const std::string extension = plugin::defaultModuleFileName().substr(6);
  std::string upper = extension;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const std::filesystem::path inner = directory.path() / ("a" + extension);
  std::filesystem::create_directory(inner);
  for (const auto& place : {directory.path(), inner}) {
    std::ofstream(place / "Custom.csv") << "time,T\n";
    std::ofstream(place / "Custom.ini") << "[Frame]\nSkip=1\n";
  }
  for (const auto& [place, fileName, expected] :
       {std::tuple(directory.path(), "Custom" + upper, std::string("T,\r\n7,\r\n")),
        std::tuple(inner, "Custom" + extension, std::string("T,\r\n7,\r\n")),
        std::tuple(directory.path(), std::string("Custom.bin"), std::string("\r\n"))}) {
    InstalledModule module(place, fileName);
    module->Load();
    module->Elapse(stateAt(7, 0.0f), nullptr, nullptr);
    module->Dispose();
    EXPECT_EQ(module.onlyLog(), expected) << fileName;
    for (const auto& log : module.logs()) std::filesystem::remove(log);
  }
}

}  // namespace
