// simhost driving the built module through whole runs, each in a directory
// of its own with the example column file beside a copy of the module.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "plugin/plugin_module.h"
#include "tests/temporary_directory.h"
#include "tools/plugin_host/current_directory.h"
#include "tools/simhost/log_files.h"
#include "tools/simhost/process_info.h"
#include "tools/simhost/simhost.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>

#include "tests/child_process.h"
#endif

namespace simhost {
namespace {

namespace fs = std::filesystem;
using testing_support::readFileBytes;
using testing_support::TemporaryDirectory;

const fs::path kSourceDirectory = SIMHOST_SOURCE_DIRECTORY;

// A directory with a copy of the built module and the example column file.
struct ModuleDirectory {
  ModuleDirectory() {
    const std::string moduleName = plugin::defaultModuleFileName();
    module = directory.path() / moduleName;
    fs::copy_file(fs::path(executablePath()).parent_path() / moduleName, module);
    fs::copy_file(kSourceDirectory / "examples" / "Logger.csv", directory.path() / "Logger.csv");
  }

  // The bytes of the one log in the directory, after checking there is one.
  std::string onlyLog() const {
    const std::set<fs::path> logs = findLogs(directory.path());
    EXPECT_EQ(logs.size(), 1u);
    return logs.empty() ? std::string() : readFileBytes(*logs.begin());
  }

  TemporaryDirectory directory;
  fs::path module;
};

// What one simhost run gave.
struct Outcome {
  int status;
  std::string out;
  std::string err;
};

Outcome run(CommandLine commandLine) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = runSimhost(commandLine, out, err, false);
  return {status, out.str(), err.str()};
}

// The log's lines without their CR LF, each split at its commas.
std::vector<std::vector<std::string>> rowsOf(const std::string& log) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    EXPECT_EQ(line.back(), '\r');
    line.pop_back();
    std::vector<std::string> fields;
    std::istringstream cells(line);
    for (std::string field; std::getline(cells, field, ',');) fields.push_back(field);
    rows.push_back(fields);
  }
  return rows;
}

// The index of the column titled title in header.
std::size_t column(const std::vector<std::string>& header, const std::string& title) {
  for (std::size_t at = 0; at < header.size(); ++at) {
    if (header[at] == title) return at;
  }
  ADD_FAILURE() << "no column " << title;
  return 0;
}

// The number of columns the example column file names, one a line.
std::size_t exampleColumnCount() {
  const std::string columns = readFileBytes(kSourceDirectory / "examples" / "Logger.csv");
  return static_cast<std::size_t>(std::count(columns.begin(), columns.end(), '\n'));
}

TEST(SimhostRunTest, TheBuiltInTripMakesPhysicalSense) {
  ModuleDirectory plugins;
  const Outcome outcome = run({plugins.module.string(), "", "", false, false, false});
  ASSERT_EQ(outcome.status, kCompleted) << outcome.err;
  EXPECT_NE(outcome.out.find("18000 frames, 300.000 s of simulated time"), std::string::npos);
  EXPECT_NE(outcome.out.find("(300 rows)"), std::string::npos) << outcome.out;
  const auto rows = rowsOf(plugins.onlyLog());
  ASSERT_EQ(rows.size(), 301u);
  const std::vector<std::string>& header = rows[0];
  EXPECT_EQ(header.size(), exampleColumnCount());
  const std::size_t time = column(header, "Time ms");
  const std::size_t location = column(header, "Location m");
  const std::size_t speed = column(header, "Speed km/h");
  const std::size_t doorsClosed = column(header, "Doors closed");
  EXPECT_EQ(rows[1][column(header, "Time")], "10:14:01.000");
  double topSpeed = 0.0;
  for (std::size_t row = 2; row < rows.size(); ++row) {
    ASSERT_EQ(rows[row].size(), exampleColumnCount()) << row;
    EXPECT_EQ(std::stol(rows[row][time]) - std::stol(rows[row - 1][time]), 1000) << row;
    EXPECT_GE(std::stod(rows[row][location]), std::stod(rows[row - 1][location])) << row;
    EXPECT_GE(std::stod(rows[row][speed]), 0.0) << row;
    topSpeed = std::max(topSpeed, std::stod(rows[row][speed]));
  }
  EXPECT_GT(topSpeed, 70.0);
  EXPECT_LT(topSpeed, 90.0);
  EXPECT_GT(std::stod(rows.back()[location]) - std::stod(rows[1][location]), 3000.0);
  EXPECT_EQ(rows[1][speed], "0");
  EXPECT_EQ(rows.back()[speed], "0");
  EXPECT_EQ(rows[1][doorsClosed], "false");
  EXPECT_EQ(rows[60][doorsClosed], "true");
  EXPECT_EQ(rows.back()[doorsClosed], "false");
}

// SpeedGuard chained behind the module brakes at 80 km/h, below the trip's
// cut-off speed of 82 km/h: the train follows what Elapse returns, and the
// summary says when the plug-in overrode the driver.
TEST(SimhostRunTest, TheTrainFollowsTheHandlesAChainedPluginReturns) {
  ModuleDirectory plugins;
  const std::string guard =
      std::string("SpeedGuard") + fs::path(plugins.module).extension().string();
  fs::copy_file(fs::path(executablePath()).parent_path() / guard, plugins.directory.path() / guard);
  plugins.directory.write("Logger.ini", "[Frame]\nSkip=60\n[Chain]\nPlugin=" + guard + "\n");
  plugins.directory.write("Logger.csv", "speed,Speed\nbrake,Brake\nplugin_brake,P brake\n");
  const Outcome outcome = run({plugins.module.string(), "", "", false, false, false});
  ASSERT_EQ(outcome.status, kCompleted) << outcome.err;
  EXPECT_NE(outcome.out.find("Elapse returned other handles than the driver's in "),
            std::string::npos)
      << outcome.out;
  const auto rows = rowsOf(plugins.onlyLog());
  ASSERT_GT(rows.size(), 2u);
  double topSpeed = 0.0;
  bool emergency = false;
  for (std::size_t row = 1; row < rows.size(); ++row) {
    topSpeed = std::max(topSpeed, std::stod(rows[row][0]));
    emergency = emergency || rows[row][2] == "9";
  }
  EXPECT_LT(topSpeed, 81.0);
  EXPECT_TRUE(emergency);
}

TEST(SimhostRunTest, TheHostsSharedSettingsComeFromTheWorkDirectory) {
  ModuleDirectory plugins;
  TemporaryDirectory host;
  host.write("Ats.ini", "[Frame]\nSkip=30\n");
  const fs::path before = fs::current_path();
  const Outcome outcome =
      run({plugins.module.string(), "", host.path().string(), false, true, false});
  ASSERT_EQ(outcome.status, kCompleted) << outcome.err;
  EXPECT_EQ(fs::current_path(), before);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(rowsOf(plugins.onlyLog()).size(), 601u);
}

TEST(SimhostRunTest, TheStationStopLogIsTheCommittedOne) {
  ModuleDirectory plugins;
  fs::copy_file(kSourceDirectory / "examples" / "Logger.ini",
                plugins.directory.path() / "Logger.ini");
  const std::string scenario = (kSourceDirectory / "examples" / "station_stop.scenario").string();
  const Outcome outcome = run({plugins.module.string(), scenario, "", false, true, false});
  ASSERT_EQ(outcome.status, kCompleted) << outcome.err;
  EXPECT_EQ(plugins.onlyLog(),
            readFileBytes(kSourceDirectory / "tests" / "expected" / "station_stop.csv"));
}

TEST(SimhostRunTest, ABadScenarioNeverReachesTheModule) {
  ModuleDirectory plugins;
  const fs::path scenario =
      plugins.directory.write("bad.scenario", "length 5\n1 doors shut\n7 power 1\n");
  const Outcome outcome =
      run({plugins.module.string(), scenario.string(), "", false, false, false});
  EXPECT_EQ(outcome.status, kBadInput);
  EXPECT_EQ(outcome.err, scenario.string() + ":2: \"doors\" takes open or close\n" +
                             scenario.string() + ":3: time 7 is after the end of the run (5)\n");
  EXPECT_EQ(outcome.out, "");
  EXPECT_TRUE(findLogs(plugins.directory.path()).empty());
}

TEST(SimhostRunTest, AnUnusableModuleOrWorkDirectoryIsRefused) {
  ModuleDirectory plugins;
  const fs::path notAModule = plugins.directory.write("Other.so", "not a module");
  const Outcome broken = run({notAModule.string(), "", "", false, false, false});
  EXPECT_EQ(broken.status, kModuleUnusable);
  EXPECT_EQ(broken.err.rfind("simhost: cannot use the module " + notAModule.string(), 0), 0u)
      << broken.err;
  const Outcome noDirectory =
      run({plugins.module.string(), "", "no/such/directory", false, false, false});
  EXPECT_EQ(noDirectory.status, kBadInput);
  EXPECT_EQ(noDirectory.err, "simhost: --workdir no/such/directory is not a directory\n");
  EXPECT_TRUE(findLogs(plugins.directory.path()).empty());
}

// The run, with an exception that simhost lets out taken as status -1.
Outcome runCatching(const CommandLine& commandLine) {
  try {
    return run(commandLine);
  } catch (const std::exception& thrown) {
    return {-1, "", std::string("simhost threw: ") + thrown.what()};
  }
}

// Whether this process can make directory its current directory; it stays
// in the one it is in.
bool canEnter(const fs::path& directory) {
  std::error_code error;
  const plugin_host::CurrentDirectory entered(directory, error);
  return !error;
}

// The run while its work directory exists but cannot be entered: on Windows
// while a handle that shares nothing holds the directory; elsewhere with the
// directory's permissions taken away, in a child process without root's
// privileges, which bypass them. Status -1 when that cannot be arranged.
Outcome runWithAnUnenterableWorkDirectory(const CommandLine& commandLine) {
  const fs::path directory = commandLine.workDirectory;
  const Outcome enterable{-1, "", "the work directory can still be entered"};
#ifdef _WIN32
  const HANDLE held = CreateFileW(directory.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  const Outcome outcome = canEnter(directory) ? enterable : runCatching(commandLine);
  if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
  return outcome;
#else
  fs::permissions(directory, fs::perms::none);
  int channel[2];
  if (pipe(channel) != 0) return {-1, "", "no pipe"};
  const testing_support::ChildOutcome child = testing_support::runInChild([&] {
    Outcome outcome{-1, "", "the child cannot give up root's privileges"};
    const passwd* nobody = getpwnam("nobody");
    if (geteuid() != 0 || setuid(nobody ? nobody->pw_uid : 65534) == 0) {
      outcome = canEnter(directory) ? enterable : runCatching(commandLine);
    }
    const std::string report =
        std::to_string(outcome.status) + '\0' + outcome.out + '\0' + outcome.err;
    return write(channel[1], report.data(), report.size()) == static_cast<ssize_t>(report.size())
               ? 0
               : 1;
  });
  close(channel[1]);
  std::string report;
  char buffer[4096];
  for (ssize_t count; (count = read(channel[0], buffer, sizeof buffer)) > 0;) {
    report.append(buffer, static_cast<std::size_t>(count));
  }
  close(channel[0]);
  fs::permissions(directory, fs::perms::owner_all);
  const std::size_t first = report.find('\0');
  const std::size_t second = report.find('\0', first + 1);
  if (!child.exited || child.exitCode != 0 || second == std::string::npos) {
    return {-1, "", "the child " + child.describe() + " and reported " + report};
  }
  return {std::stoi(report.substr(0, first)), report.substr(first + 1, second - first - 1),
          report.substr(second + 1)};
#endif
}

TEST(SimhostRunTest, AWorkDirectoryThatCannotBeEnteredIsRefused) {
  ModuleDirectory plugins;
  const fs::path locked = plugins.directory.path() / "locked";
  fs::create_directory(locked);
  // Where a process without root's privileges still finds the directory.
  fs::permissions(plugins.directory.path(), fs::perms::owner_all | fs::perms::group_read |
                                                fs::perms::group_exec | fs::perms::others_read |
                                                fs::perms::others_exec);
  const Outcome outcome = runWithAnUnenterableWorkDirectory(
      {plugins.module.string(), "", locked.string(), false, false, false});
  EXPECT_EQ(outcome.status, kBadInput) << outcome.err;
  EXPECT_EQ(outcome.err.rfind("simhost: cannot enter --workdir " + locked.string() + ": ", 0), 0u)
      << outcome.err;
  EXPECT_EQ(outcome.out, "");
  EXPECT_TRUE(findLogs(plugins.directory.path()).empty());
}

TEST(SimhostRunTest, TimingReportsElapseLatency) {
  ModuleDirectory plugins;
  const Outcome outcome = run({plugins.module.string(), "", "", true, true, false});
  ASSERT_EQ(outcome.status, kCompleted) << outcome.err;
  EXPECT_EQ(outcome.out.rfind("Elapse over 18000 calls: median ", 0), 0u) << outcome.out;
  EXPECT_NE(outcome.out.find(" us, 99.9th percentile "), std::string::npos);
  EXPECT_NE(outcome.out.find(" us, maximum "), std::string::npos);
}

}  // namespace
}  // namespace simhost
