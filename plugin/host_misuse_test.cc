// A host that calls the entry points in any order with any arguments: random
// call sequences, each on a freshly loaded module, checked against a model
// of what the module does. Nothing may crash, Elapse must always return the
// handles last reported (through a plug-in chained by some settings files,
// which passes them on), and every log must be whole and well formed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/chain_fixture.h"
#include "tests/log_shape.h"
#include "tests/module_fixture.h"
#include "tests/random_host_input.h"
#include "tools/plugin_host/current_directory.h"

namespace {

using plugin::defaultModuleFileName;
using plugin_host::CurrentDirectory;
using testing_support::InstalledModule;
using testing_support::LogShape;
using testing_support::RandomHostInput;
using testing_support::readFileBytes;
using testing_support::readWellFormedLog;
using testing_support::TemporaryDirectory;

#ifdef _WIN32
constexpr int kDefaultSequences = 600;  // Wine loads and writes more slowly
#else
constexpr int kDefaultSequences = 2500;
#endif

// The column file's text and the header row it gives.
struct ColumnFile {
  std::string text;
  std::string header;
};

ColumnFile randomColumnFile(RandomHostInput& arguments) {
  // Every key in some letter case, then keys that match none: a mistyped
  // one, one with a blank before it, an empty one and one with accents.
  // clang-format off
  static const char* const kKeys[] = {
      "time_hhmmss", "TIME", "location", "Speed", "acceleration", "bc", "mr", "er",
      "bp", "sap", "current", "power", "BRAKE", "reverser", "signal", "pilotlamp",
      "beacon_type", "beacon_signal", "beacon_distance", "beacon_optional",
      "plugin_power", "PLUGIN_BRAKE", "plugin_reverser", "plugin_constant_speed",
      "panel_0", "PANEL_255", "sound_7", "sound_255",
      "spede", " speed", "", "\xe9t\xe9", "panel_256", "sound_07", "panel_"};
  // clang-format on
  ColumnFile file;
  const int lines = arguments.below(14);
  for (int line = 0; line < lines; ++line) {
    if (arguments.below(8) == 0) {
      file.text += "no comma here\n";
      continue;
    }
    std::string title = "Title " + std::to_string(arguments.below(1000));
    if (arguments.below(6) == 0) title.clear();
    const bool extra = arguments.below(4) == 0;
    file.text +=
        std::string(kKeys[arguments.below(static_cast<int>(std::size(kKeys)))]) + "," + title;
    file.text += extra ? ",extra\r\n" : "\n";
    // "key," alone has one field only and names no column.
    if (extra || !title.empty()) file.header += title + ",";
  }
  file.header += "\r\n";
  return file;
}

// A settings file's text, empty for none, the frame interval it gives, and
// whether it chains SpeedGuard (which passes the driver's handles through).
// ".EXT" stands for the platform's module extension.
struct SettingsFile {
  const char* text;
  int32_t interval;
  bool chains = false;
};

constexpr SettingsFile kSettingsFiles[] = {
    {"", 60},
    {"[Frame]\nSkip=1\n", 1},
    {"[Frame]\nSkip=2\n", 2},
    {"[frame]\n  skip = 3\n", 3},
    {"[Frame]\nSkip=0\n", 1},
    {"[Frame]\nSkip=-7\n", 1},
    {"[Frame]\nSkip=2147483647\n", 2147483647},
    {"\x01\xff garbage = [\n", 60},
    {"[Frame]\nSkip=1\n[Chain]\nPlugin=SpeedGuard.EXT\n", 1, true},
    {"[Chain]\nPlugin=./SpeedGuard.EXT\n[Frame]\nSkip=2\n", 2, true},
    {"[Chain]\nPlugin=Missing.EXT\n", 60},
};

// One random sequence of calls on a freshly loaded module, with a model of
// the handles it must return and the logs it must write.
class Sequence {
 public:
  Sequence(const TemporaryDirectory& directory, uint32_t seed) : directory_(directory), in_(seed) {}

  // Loads the module at modulePath, makes the calls and unloads it; returns
  // the logs that the runs must have written.
  std::vector<LogShape> run(plugin::PluginModule& module, const std::string& modulePath) {
    rewriteFiles();
    std::string error;
    if (!module.open(modulePath, &error)) {
      ADD_FAILURE() << error;
      return {};
    }
    const int calls = in_.below(80);
    for (int call = 0; call < calls && !::testing::Test::HasFailure(); ++call) {
      callOne(module);
    }
    if (in_.below(2) == 0) dispose(module);
    module.close();
    // The next sequence starts on a fresh module, as the model does.
    EXPECT_TRUE(testing_support::awaitModuleUnloaded(modulePath)) << "the module stays loaded";
    chained_ = false;  // the module unloaded leaves the plug-in, which starts afresh at Load
    if (runOpen_) expected_.push_back(run_);  // a run left open ends as the module unloads
    return expected_;
  }

 private:
  // Replaces the column and settings files, or removes them.
  void rewriteFiles() {
    std::filesystem::remove(directory_.path() / "Logger.csv");
    columnsHeader_ = "\r\n";
    if (in_.below(6) != 0) {
      const ColumnFile columns = randomColumnFile(in_);
      directory_.write("Logger.csv", columns.text);
      columnsHeader_ = columns.header;
    }
    settings_ = kSettingsFiles[in_.below(static_cast<int>(std::size(kSettingsFiles)))];
    std::filesystem::remove(directory_.path() / "Logger.ini");
    std::string text = settings_.text;
    const std::size_t extension = text.find(".EXT");
    if (extension != std::string::npos) text.replace(extension, 4, platform::moduleExtension());
    if (!text.empty()) directory_.write("Logger.ini", text);
  }

  // Makes one random call: half of them Elapse, the rest spread over the
  // other entry points and the rewriting of the files.
  void callOne(plugin::PluginModule& module) {
    using Call = void (*)(Sequence&, plugin::PluginModule&);
    static const Call kCalls[] = {
        [](Sequence& s, plugin::PluginModule& m) { s.load(m); },
        [](Sequence& s, plugin::PluginModule& m) { s.dispose(m); },
        [](Sequence& s, plugin::PluginModule&) { s.rewriteFiles(); },
        [](Sequence&, plugin::PluginModule& m) { EXPECT_EQ(m.GetPluginVersion(), 131072); },
        [](Sequence& s, plugin::PluginModule& m) { m.SetVehicleSpec(s.vehicleSpec()); },
        [](Sequence& s, plugin::PluginModule& m) { m.Initialize(s.in_.integer()); },
        [](Sequence& s, plugin::PluginModule& m) { m.SetPower(s.handle(&Handles::power)); },
        [](Sequence& s, plugin::PluginModule& m) { m.SetBrake(s.handle(&Handles::brake)); },
        [](Sequence& s, plugin::PluginModule& m) { m.SetReverser(s.handle(&Handles::reverser)); },
        [](Sequence& s, plugin::PluginModule& m) { m.KeyDown(s.in_.integer()); },
        [](Sequence& s, plugin::PluginModule& m) { m.KeyUp(s.in_.integer()); },
        [](Sequence& s, plugin::PluginModule& m) { m.HornBlow(s.in_.integer()); },
        [](Sequence&, plugin::PluginModule& m) { m.DoorOpen(); },
        [](Sequence&, plugin::PluginModule& m) { m.DoorClose(); },
        [](Sequence& s, plugin::PluginModule& m) { m.SetSignal(s.in_.integer()); },
        [](Sequence& s, plugin::PluginModule& m) { m.SetBeaconData(s.beacon()); },
    };
    constexpr int kCallCount = static_cast<int>(std::size(kCalls));
    const int choice = in_.below(2 * kCallCount);
    if (choice < kCallCount) {
      kCalls[choice](*this, module);
    } else {
      elapse(module);
    }
  }

  // A random handle position, noted as the module's and, while a plug-in is
  // chained, the plug-in's.
  int32_t handle(int32_t Handles::*field) {
    const int32_t position = in_.integer();
    mirror_.*field = position;
    if (chained_) guardMirror_.*field = position;
    return position;
  }

  // Random records for the calls that take them.
  VehicleSpec vehicleSpec() {
    return {in_.integer(), in_.integer(), in_.integer(), in_.integer(), in_.integer()};
  }

  BeaconData beacon() { return {in_.integer(), in_.integer(), in_.single(), in_.integer()}; }

  // Load: a run left open ends, and a run opens with the files as they are now.
  void load(plugin::PluginModule& module) {
    module.Load();
    // A plug-in chained stays chained until Dispose; it starts afresh at Load.
    chained_ = chained_ || settings_.chains;
    if (chained_) guardMirror_ = Handles{0, 0, 0, 0};
    if (runOpen_) expected_.push_back(run_);  // a run left open ends first
    interval_ = settings_.interval;
    runOpen_ = true;
    run_ = LogShape{columnsHeader_, 0};
  }

  // Dispose: an open run must leave its log.
  void dispose(plugin::PluginModule& module) {
    module.Dispose();
    chained_ = false;
    if (runOpen_) expected_.push_back(run_);
    runOpen_ = false;
  }

  // Elapse: the handles must be the mirrored ones, the host's arrays
  // untouched, and every interval-th frame of an open run adds a row.
  void elapse(plugin::PluginModule& module) {
    int32_t panel[256];
    int32_t sound[256];
    std::fill(std::begin(panel), std::end(panel), 0x5A5A5A5A);
    std::fill(std::begin(sound), std::end(sound), 0x5A5A5A5A);
    const bool withArrays = in_.below(2) == 0;
    const Handles handles =
        module.Elapse(in_.state(), withArrays ? panel : nullptr, withArrays ? sound : nullptr);
    const Handles& expected = chained_ ? guardMirror_ : mirror_;
    EXPECT_EQ(handles.brake, expected.brake);
    EXPECT_EQ(handles.power, expected.power);
    EXPECT_EQ(handles.reverser, expected.reverser);
    EXPECT_EQ(handles.reserved, 0);
    EXPECT_TRUE(
        std::all_of(std::begin(panel), std::end(panel), [](int32_t v) { return v == 0x5A5A5A5A; }));
    EXPECT_TRUE(
        std::all_of(std::begin(sound), std::end(sound), [](int32_t v) { return v == 0x5A5A5A5A; }));
    if (interval_ == 0) return;  // frames before the first Load are not counted
    ++frames_;
    if (runOpen_ && frames_ % interval_ == 0) ++run_.rows;
  }

  const TemporaryDirectory& directory_;
  RandomHostInput in_;
  std::string columnsHeader_;
  SettingsFile settings_{"", 60};
  Handles mirror_{0, 0, 0, 0};
  Handles guardMirror_{0, 0, 0, 0};  // what the chained plug-in was told
  bool chained_ = false;
  int32_t interval_ = 0;
  int64_t frames_ = 0;
  bool runOpen_ = false;
  LogShape run_{std::string(), 0};
  std::vector<LogShape> expected_;
};

// Checks the logs in directory against the runs expected, then removes them.
void checkAndRemoveLogs(const std::filesystem::path& directory, std::vector<LogShape> expected) {
  testing_support::awaitFinishedLogs(directory, expected.size());
  const auto logs = testing_support::filesStartingWith(directory, "Log_");
  EXPECT_EQ(logs.size(), expected.size()) << "logs written";
  for (const auto& path : logs) {
    const LogShape found = readWellFormedLog(readFileBytes(path));
    const auto match = std::find(expected.begin(), expected.end(), found);
    if (match == expected.end()) {
      std::string runs;
      for (const LogShape& run : expected) {
        runs += "\n  " + run.header + " with " + std::to_string(run.rows) + " rows";
      }
      ADD_FAILURE() << "no run ended with header " << found.header << " and " << found.rows
                    << " rows; runs expected:" << runs;
    } else {
      expected.erase(match);
    }
    std::filesystem::remove(path);
  }
}

TEST(HostMisuseTest, RandomCallSequencesKeepHandlesAndLogsWhole) {
  const int sequences = testing_support::sequenceCountArgument(kDefaultSequences);
  TemporaryDirectory directory;
  CurrentDirectory inDirectory(directory.path());  // no shared settings file
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  module->close();
  const std::filesystem::path guard =
      directory.path() / (std::string("SpeedGuard") + platform::moduleExtension());
  std::filesystem::copy_file(testing_support::builtFixturePath("SpeedGuard"), guard);
  const testing_support::SpeedGuardControl guardControl(guard);
  guardControl.setMode(4);
  const std::string modulePath = (directory.path() / plugin::defaultModuleFileName()).string();
  for (int index = 0; index < sequences && !HasFailure(); ++index) {
    SCOPED_TRACE("sequence " + std::to_string(index));
    Sequence sequence(directory, static_cast<uint32_t>(index));
    checkAndRemoveLogs(directory.path(), sequence.run(*module, modulePath));
  }
}

}  // namespace
