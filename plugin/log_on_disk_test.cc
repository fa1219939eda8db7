// The log on the disk while the run lasts: its in-progress file, the logs a
// host that skips Dispose still gets, and folders of any name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/module_fixture.h"

namespace {

using testing_support::filesStartingWith;
using testing_support::InstalledModule;
using testing_support::readFileBytes;
using testing_support::sampleState;
using testing_support::TemporaryDirectory;

// Elapses frames first to last of sampleState.
void elapseFrames(plugin::PluginModule& module, int first, int last) {
  for (int frame = first; frame <= last; ++frame) {
    module.Elapse(sampleState(frame), nullptr, nullptr);
  }
}

// Writes the column and settings files into directory: two columns, a row
// every second frame.
void writeModuleFiles(const std::filesystem::path& directory) {
  std::ofstream(directory / "Logger.csv", std::ios::binary) << "time,T\nspeed,S\n";
  std::ofstream(directory / "Logger.ini", std::ios::binary) << "[Frame]\nSkip=2\n";
}

// The names of everything in directory.
std::vector<std::string> namesIn(const std::filesystem::path& directory) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    names.push_back(entry.path().filename().u8string());
  }
  return names;
}

TEST(LogOnDiskTest, ALoadWhileARunIsOpenFinishesItsLogFirst) {
  std::vector<std::string> logs[2];
  for (const bool disposeBetween : {true, false}) {
    TemporaryDirectory directory;
    writeModuleFiles(directory.path());
    InstalledModule module(directory.path(), plugin::defaultModuleFileName());
    module->Load();
    elapseFrames(*module, 1, 40);
    if (disposeBetween) module->Dispose();
    module->Load();
    elapseFrames(*module, 41, 60);
    module->Dispose();
    for (const auto& log : module.logs()) logs[disposeBetween].push_back(readFileBytes(log));
  }
  ASSERT_EQ(logs[true].size(), 2u);
  EXPECT_EQ(logs[false], logs[true]);
}

TEST(LogOnDiskTest, TheRunningFileCanBeReadDuringTheRunAndCleanRunsLeaveOnlyLogs) {
  TemporaryDirectory directory;
  writeModuleFiles(directory.path());
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  for (int run = 0; run < 3; ++run) {
    module->Load();
    elapseFrames(*module, 1, 4);
    const auto running = filesStartingWith(directory.path(), "Running_Log_");
    ASSERT_EQ(running.size(), 1u);
    EXPECT_EQ(running.front().extension(), ".running");
    const std::string rows = "T,S,\r\n36000032,1.5,\r\n36000064,3,\r\n";
    EXPECT_EQ(readFileBytes(running.front()).substr(0, rows.size()), rows);
    module->Dispose();
  }
  EXPECT_EQ(module.logs().size(), 3u);
  for (const std::string& name : namesIn(directory.path())) {
    const bool expected = name == plugin::defaultModuleFileName() || name == "Logger.csv" ||
                          name == "Logger.ini" || name.rfind("Log_", 0) == 0;
    EXPECT_TRUE(expected) << name;
  }
}

TEST(LogOnDiskTest, AModuleInAFolderNamedOutsideTheCodePageWritesItsLog) {
  TemporaryDirectory directory;
  const std::filesystem::path folder =
      directory.path() / std::filesystem::u8path(u8"Zug \u65e5\u672c \u0141ukasz") / "plugins";
  std::filesystem::create_directories(folder);
  writeModuleFiles(folder);
  InstalledModule module(folder, plugin::defaultModuleFileName());
  module->Load();
  elapseFrames(*module, 1, 4);
  module->Dispose();
  const auto logs = module.logs();
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_EQ(readFileBytes(logs.front()), "T,S,\r\n36000032,1.5,\r\n36000064,3,\r\n");
}

// The bytes of the files in directory whose names start with "Log_", read
// through the module's own file functions, which take paths of any length.
std::vector<std::string> logsThroughThePlatform(const std::string& directory) {
  std::vector<std::string> logs;
  for (const std::string& name : platform::listDirectory(directory)) {
    if (name.rfind("Log_", 0) != 0) continue;
    const platform::FileHandle file =
        platform::openForReading(directory + platform::pathSeparator() + name);
    std::string bytes;
    char buffer[4096];
    for (std::ptrdiff_t count; (count = platform::readFile(file, buffer, sizeof buffer)) > 0;) {
      bytes.append(buffer, static_cast<std::size_t>(count));
    }
    logs.push_back(bytes);
  }
  return logs;
}

TEST(LogOnDiskTest, AModuleInAFolderOfAPathLongerThan260CharactersWritesItsLog) {
  TemporaryDirectory directory;
  std::filesystem::path folder = directory.path();
  for (int level = 0; level < 6; ++level) folder /= std::string(50, static_cast<char>('a' + level));
  std::filesystem::create_directories(folder);
  ASSERT_GT(folder.u8string().size(), 300u);
  writeModuleFiles(folder);
  InstalledModule module(folder, plugin::defaultModuleFileName());
  module->Load();
  elapseFrames(*module, 1, 4);
  module->Dispose();
  EXPECT_EQ(logsThroughThePlatform(folder.u8string()),
            std::vector<std::string>{"T,S,\r\n36000032,1.5,\r\n36000064,3,\r\n"});
}

}  // namespace
