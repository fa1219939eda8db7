#include "tools/simhost/simhost.h"

#include <cstdio>
#include <filesystem>
#include <iomanip>
#include <optional>
#include <set>
#include <sstream>
#include <system_error>
#include <utility>

#include "tools/plugin_host/current_directory.h"
#include "tools/plugin_host/plugin_module.h"
#include "tools/simhost/built_in_trip.h"
#include "tools/simhost/latency_summary.h"
#include "tools/simhost/log_files.h"
#include "tools/simhost/module_driver.h"
#include "tools/simhost/process_info.h"
#include "tools/simhost/scenario_parser.h"
#include "tools/simhost/scenario_player.h"

namespace simhost {
namespace {

namespace fs = std::filesystem;

// The module to load: the one named, or the platform's Logger beside simhost.
fs::path modulePathFor(const CommandLine& commandLine) {
  if (!commandLine.modulePath.empty()) return fs::absolute(commandLine.modulePath);
  return fs::path(executablePath()).parent_path() / plugin_host::defaultModuleFileName();
}

// Milliseconds as seconds with three decimals.
std::string seconds(int64_t milliseconds) {
  std::ostringstream text;
  text << milliseconds / 1000 << '.' << std::setw(3) << std::setfill('0') << milliseconds % 1000;
  return text.str();
}

// Nanoseconds as microseconds with two decimals.
std::string microseconds(int64_t nanoseconds) {
  std::ostringstream text;
  text << std::fixed << std::setprecision(2) << nanoseconds / 1000.0 << " us";
  return text.str();
}

void reportTiming(const DriveResult& result, std::ostream& out) {
  const LatencySummary summary = summarizeLatencies(result.elapseNanoseconds);
  out << "Elapse over " << result.elapseNanoseconds.size() << " calls: median "
      << microseconds(summary.median) << ", 99.9th percentile "
      << microseconds(summary.percentile999) << ", maximum " << microseconds(summary.maximum)
      << "\n";
}

void reportLogs(const fs::path& directory, const std::set<fs::path>& before, std::ostream& out) {
  bool any = false;
  for (const fs::path& log : findLogs(directory)) {
    if (before.count(log)) continue;
    out << "log: " << log.string() << " (" << countDataRows(log) << " rows)\n";
    any = true;
  }
  if (!any) out << "the module wrote no log in " << directory.string() << "\n";
}

// Reports progress on one terminal line that each report overwrites.
void showProgressLine(std::ostream& err, int64_t framesDone, int64_t frameCount) {
  err << "\rframe " << framesDone << " of " << frameCount << " (" << framesDone * 100 / frameCount
      << "%)" << std::flush;
}

// One run as runSimhost has set it up for drive.
struct DriveRequest {
  fs::path modulePath;             // the module to load
  RunPlan plan;                    // what the host does, frame by frame
  std::string runName;             // the run as the report names it
  const CommandLine& commandLine;  // --timing and --quiet
  std::ostream& out;               // the report
  std::ostream& err;               // warnings, errors and the progress line
  bool showProgress;               // whether err shows the progress line
};

// Loads the module, drives the plan through it, unloads it and reports.
int drive(const DriveRequest& request) {
  const fs::path& modulePath = request.modulePath;
  const CommandLine& commandLine = request.commandLine;
  std::ostream& out = request.out;
  std::ostream& err = request.err;
  plugin_host::PluginModule module;
  std::string error;
  if (!module.open(modulePath.string(), &error)) {
    err << "simhost: cannot use the module " << modulePath.string() << ": " << error << "\n";
    return kModuleUnusable;
  }
  const int32_t version = module.GetPluginVersion();
  if (version != kPluginInterfaceVersion) {
    err << "simhost: warning: GetPluginVersion answers 0x" << std::hex << std::setw(8)
        << std::setfill('0') << version << std::dec << ", not 0x00020000\n";
  }
  const fs::path directory = modulePath.parent_path();
  const std::set<fs::path> logsBefore = findLogs(directory);
  DriveOptions options;
  options.measureElapse = commandLine.timing;
  if (request.showProgress && !commandLine.quiet) {
    options.progress = [&err](int64_t done, int64_t count) { showProgressLine(err, done, count); };
  }
  const DriveResult result = driveModule(module, request.plan, options);
  module.close();
  if (options.progress) err << "\r" << std::string(40, ' ') << "\r" << std::flush;
  if (commandLine.timing) reportTiming(result, out);
  if (commandLine.quiet) return kCompleted;
  out << "simhost: drove " << modulePath.string() << " through " << request.runName << ": "
      << result.frames << " frames, "
      << seconds(frameTime(0, request.plan.framesPerSecond, result.frames))
      << " s of simulated time in " << std::fixed << std::setprecision(3) << result.wallSeconds
      << " s\n";
  reportLogs(directory, logsBefore, out);
  return kCompleted;
}

}  // namespace

int runSimhost(const CommandLine& commandLine, std::ostream& out, std::ostream& err,
               bool showProgress) {
  if (commandLine.help) {
    out << helpText();
    return kCompleted;
  }
  if (commandLine.version) {
    out << versionText();
    return kCompleted;
  }
  RunPlan plan;
  std::string runName = "the built-in trip";
  if (!commandLine.scenarioPath.empty()) {
    Scenario scenario;
    std::vector<std::string> errors;
    if (!readScenarioFile(commandLine.scenarioPath, &scenario, &errors)) {
      for (const std::string& message : errors) err << message << "\n";
      return kBadInput;
    }
    plan = planScenario(scenario);
    runName = commandLine.scenarioPath;
  } else {
    plan = planBuiltInTrip();
  }
  std::error_code error;
  if (!commandLine.workDirectory.empty() && !fs::is_directory(commandLine.workDirectory, error)) {
    err << "simhost: --workdir " << commandLine.workDirectory << " is not a directory\n";
    return kBadInput;
  }
  const fs::path modulePath = modulePathFor(commandLine);
  std::optional<plugin_host::CurrentDirectory> inWorkDirectory;
  if (!commandLine.workDirectory.empty()) {
    inWorkDirectory.emplace(commandLine.workDirectory, error);
    if (error) {
      err << "simhost: cannot enter --workdir " << commandLine.workDirectory << ": "
          << error.message() << "\n";
      return kBadInput;
    }
  }
  return drive({modulePath, std::move(plan), runName, commandLine, out, err, showProgress});
}

}  // namespace simhost
