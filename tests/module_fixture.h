// Drives a copy of the built module the way the simulator does, in a
// directory of its own, and reads back the logs it writes there.
#ifndef LOGGER_TESTS_MODULE_FIXTURE_H_
#define LOGGER_TESTS_MODULE_FIXTURE_H_

#include <filesystem>
#include <string>
#include <vector>

#include "plugin/plugin_module.h"
#include "tests/temporary_directory.h"

namespace testing_support {

// The built module and the committed expected logs, named on the command line.
const std::filesystem::path& builtModulePath();
const std::filesystem::path& expectedLogDirectory();

// The number of random call sequences named on the command line after the
// expected log directory, or platformDefault when none was.
int sequenceCountArgument(int platformDefault);

// A copy of the built module in directory, loaded by path.
class InstalledModule {
 public:
  // Copies the module into directory as fileName and loads it.
  InstalledModule(const std::filesystem::path& directory, const std::string& fileName);

  plugin::PluginModule& operator*() { return module_; }
  plugin::PluginModule* operator->() { return &module_; }

  // The logs ("Log_*.csv") in the module's directory, sorted by name.
  std::vector<std::filesystem::path> logs() const;

  // The bytes of the one log in the directory; fails the test unless there
  // is exactly one.
  std::string onlyLog() const;

 private:
  std::filesystem::path directory_;
  plugin::PluginModule module_;
};

// Waits until directory holds count finished logs ("Log_*"), each of them
// let go by the module and readable, and no in-progress file, a second at
// most: a module unloaded while its pool's work is under way finishes its
// run once that work is over. False when the second passed first.
bool awaitFinishedLogs(const std::filesystem::path& directory, std::size_t count);

// Waits until the module at path is no longer loaded in this process, a
// second at most, as a host that loads it again at once and wants a fresh
// module must: on Windows work of the module's own that is under way keeps
// it loaded until that work is over. False when the second passed first.
bool awaitModuleUnloaded(const std::string& path);

// A VehicleState with every field set from one running number, so that each
// frame's values differ.
VehicleState sampleState(int frame);

// sampleState(0) at the given time and speed.
VehicleState stateAt(int32_t time, float speed);

// The committed expected log of this name.
std::string expectedLog(const std::string& name);

}  // namespace testing_support

#endif  // LOGGER_TESTS_MODULE_FIXTURE_H_
