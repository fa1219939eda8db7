// A module that chains the SpeedGuard test plug-in, as a user sets it up:
// the logger in a folder of its own, the train's plug-in in another, and the
// logger's INI file naming it by a relative path.
#ifndef LOGGER_TESTS_CHAIN_FIXTURE_H_
#define LOGGER_TESTS_CHAIN_FIXTURE_H_

#include <filesystem>
#include <string>

#include "platform/dynamic_library.h"
#include "tests/module_fixture.h"

namespace testing_support {

// The built test plug-in of this name ("SpeedGuard"), beside the module.
std::filesystem::path builtFixturePath(const std::string& name);

// SpeedGuard's extra exports, reached through a load of its own: the module
// loading the same file gets the same copy.
class SpeedGuardControl {
 public:
  explicit SpeedGuardControl(const std::filesystem::path& path);
  ~SpeedGuardControl();
  SpeedGuardControl(const SpeedGuardControl&) = delete;
  SpeedGuardControl& operator=(const SpeedGuardControl&) = delete;

  // Every call the plug-in got, one a line.
  std::string record() const;

  // Makes it misbehave: kCrashInElapse, kExitInElapse (which exits with
  // kExitCodeInElapse); 3 answers an old interface version; 4 passes the
  // driver's handles through and leaves the arrays alone.
  void setMode(int mode) const;
  static constexpr int kCrashInElapse = 1;  // an access violation of its own
  static constexpr int kExitInElapse = 2;
  static constexpr int kExitCodeInElapse = 3;

 private:
  platform::LibraryHandle library_ = nullptr;
  const char* (*record_)() = nullptr;
  void (*setMode_)(int32_t) = nullptr;
};

// root/logger holds the module with its column file and an INI file of
// settings followed by chain; root/train holds a copy of the test plug-in
// named fixtureName, as "SpeedGuard" plus the module extension.
struct ChainedFolders {
  ChainedFolders(const std::string& columns, const std::string& settings,
                 const std::string& fixtureName = "SpeedGuard");

  // The chain section naming the train's plug-in by its relative path.
  static std::string relativeChain();

  // Where the module and the plug-in lie under a root.
  static std::filesystem::path modulePathIn(const std::filesystem::path& root);
  static std::filesystem::path trainPluginIn(const std::filesystem::path& root);

  std::filesystem::path loggerDirectory() const { return root.path() / "logger"; }
  std::filesystem::path trainPlugin() const;
  // The error file the module writes beside itself.
  std::filesystem::path errorFile() const { return loggerDirectory() / "Logger.chain-error.txt"; }

  TemporaryDirectory root;
  SpeedGuardControl guard;
  InstalledModule module;
};

// A run that the chained plug-in ends, played in a child process on each
// platform: the folders chain SpeedGuard and log every frame's time and the
// plug-in's brake.
ChainedFolders foldersForAnEndingPlugin();

// The child's part: Loads module, logs three frames, then sets guard to
// mode (kCrashInElapse or kExitInElapse), whose next Elapse ends the process.
void logUntilThePluginEnds(plugin::PluginModule& module, const SpeedGuardControl& guard, int mode);

// The log that the next Load in the parent leaves of that run.
extern const char kLogBeforeThePluginEnded[];

}  // namespace testing_support

#endif  // LOGGER_TESTS_CHAIN_FIXTURE_H_
