// The two loggers the benchmarks compare, set up alike: every catalogue key a
// column, the same frame interval, every event reported once.
#ifndef LOGGER_BENCH_SUBJECTS_H_
#define LOGGER_BENCH_SUBJECTS_H_

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/reference_logger.h"
#include "plugin/plugin_module.h"
#include "tests/temporary_directory.h"

namespace bench {

// Every catalogue key, in catalogue order: the columns both loggers write.
std::vector<std::string> everyKey();

// The event values both loggers are given before their frames.
constexpr int32_t kPowerNotch = 3;
constexpr int32_t kBrakeNotch = 2;
constexpr int32_t kReverserPosition = 1;
constexpr int32_t kSignal = 4;
constexpr BeaconData kBeacon = {31, 2, 350.5f, 1200};

// The module: a copy of the built module in a directory of its own, loaded
// by path as the simulator loads it.
class InstalledModule {
 public:
  // Copies the module at builtModule into a fresh directory beside a column
  // file of every key, then extraKeys, and a settings file giving interval
  // (and the decimal comma, when asked for, and the plug-in at chainedPlugin
  // chained, when given), loads it, calls Load and reports every event once.
  InstalledModule(const std::string& builtModule, int32_t interval, bool decimalComma = false,
                  const std::vector<std::string>& extraKeys = {},
                  const std::string& chainedPlugin = std::string());
  InstalledModule(const InstalledModule&) = delete;
  InstalledModule& operator=(const InstalledModule&) = delete;

  // The module's entry points.
  plugin::PluginModule& entryPoints() { return module_; }

  // Where the module lies and writes its logs.
  const std::filesystem::path& directory() const { return directory_.path(); }

 private:
  testing_support::TemporaryDirectory directory_;
  plugin::PluginModule module_;  // unloaded before the directory goes
};

// Starts reference's run as InstalledModule starts the module's.
void startReferenceRun(int32_t interval, ReferenceLogger* reference);

}  // namespace bench

#endif  // LOGGER_BENCH_SUBJECTS_H_
