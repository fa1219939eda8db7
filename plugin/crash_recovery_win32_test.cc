// Hosts that end in the middle of a run on Windows. This test program starts
// itself again as the host, which loads the module, logs frames and ends by
// TerminateProcess, after which the next Load here must leave that run's
// log, or by ExitProcess, which leaves it itself. A host here unloads the
// module with a run open, loads it again without Dispose, and runs many short
// runs.
#include <gtest/gtest.h>
// windows.h first: tlhelp32.h builds on its declarations.
// clang-format off
#include <windows.h>
#include <tlhelp32.h>
// clang-format on

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <set>
#include <string>

#include "tests/module_fixture.h"
#include "tests/test_host_win32.h"

namespace {

using testing_support::InstalledModule;
using testing_support::readFileBytes;
using testing_support::sampleState;
using testing_support::TemporaryDirectory;

// The environment that turns this program into a host that ends mid-run.
constexpr char kFolderVariable[] = "LOGGER_KILLED_HOST_FOLDER";
constexpr char kFramesVariable[] = "LOGGER_KILLED_HOST_FRAMES";
constexpr UINT kKilledExitCode = 9;
constexpr UINT kExitedExitCode = 7;

void writeModuleFiles(const TemporaryDirectory& directory) {
  directory.write("Logger.csv", "time,T\nspeed,S\nlocation,L\nbc,BC\n");
  directory.write("Logger.ini", "[Frame]\nSkip=1\n");
}

// Loads the module of the folder named in the environment and logs the
// frames named there; false when this program is not such a host.
bool logFramesAsHost(plugin::PluginModule* module) {
  const char* folder = std::getenv(kFolderVariable);
  const char* frames = std::getenv(kFramesVariable);
  if (!folder || !frames) return false;
  std::string error;
  if (!module->open(std::string(folder) + "\\" + plugin::defaultModuleFileName(), &error)) {
    return false;
  }
  module->Load();
  for (int frame = 1; frame <= std::atoi(frames); ++frame) {
    module->Elapse(sampleState(frame), nullptr, nullptr);
  }
  return true;
}

// The hosts: run only as the children that the tests below start.
TEST(EndingHost, DISABLED_LogsFramesAndIsTerminated) {
  plugin::PluginModule module;
  if (!logFramesAsHost(&module)) GTEST_SKIP() << "run by KilledHostTest only";
  TerminateProcess(GetCurrentProcess(), kKilledExitCode);
}

TEST(EndingHost, DISABLED_LogsFramesAndExits) {
  plugin::PluginModule module;
  if (!logFramesAsHost(&module)) GTEST_SKIP() << "run by ExitingHostTest only";
  ExitProcess(kExitedExitCode);
}

// Runs this program as the host of the given test for folder; returns its
// exit code.
DWORD runEndingHost(const std::string& folder, int frames, const std::string& host) {
  return testing_support::runTestAsHost(
      "EndingHost." + host, {{kFolderVariable, folder}, {kFramesVariable, std::to_string(frames)}});
}

// The log a clean run of the given frames writes, from a fresh module.
std::string cleanLog(int frames) {
  TemporaryDirectory directory;
  writeModuleFiles(directory);
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  module->Load();
  for (int frame = 1; frame <= frames; ++frame) {
    module->Elapse(sampleState(frame), nullptr, nullptr);
  }
  module->Dispose();
  return module.onlyLog();
}

TEST(KilledHostTest, TheNextLoadLeavesTheTerminatedRunsLog) {
  // Within the first chunk, and after several (a row is some 45 bytes).
  for (const int frames : {100, 60000}) {
    TemporaryDirectory directory;
    writeModuleFiles(directory);
    InstalledModule module(directory.path(), plugin::defaultModuleFileName());
    ASSERT_EQ(
        runEndingHost(directory.path().string(), frames, "DISABLED_LogsFramesAndIsTerminated"),
        kKilledExitCode);
    EXPECT_TRUE(module.logs().empty());
    module->Load();
    EXPECT_EQ(module.onlyLog(), cleanLog(frames)) << frames << " frames";
    module->Dispose();
  }
}

TEST(ExitingHostTest, AHostThatExitsMidRunLeavesItsWholeLog) {
  TemporaryDirectory directory;
  writeModuleFiles(directory);
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  ASSERT_EQ(runEndingHost(directory.path().string(), 60000, "DISABLED_LogsFramesAndExits"),
            kExitedExitCode);
  ASSERT_TRUE(testing_support::awaitFinishedLogs(directory.path(), 1));
  EXPECT_EQ(module.onlyLog(), cleanLog(60000));
}

// The frame after which the log first passes the end of its second chunk:
// the chunk switch's work is then under way.
int frameJustPastSecondChunk(const std::string& log) {
  int frame = 0;
  for (std::size_t at = log.find('\n'); at != std::string::npos; at = log.find('\n', at + 1)) {
    if (at >= (std::size_t{2} << 20)) return frame;
    ++frame;
  }
  return frame;
}

// A module in a folder of its own with a run open, logged until just past
// its second chunk, and the log that run must leave.
struct RunPastSecondChunk {
  RunPastSecondChunk() {
    writeModuleFiles(directory);
    module->Load();
    for (int frame = 1; frame <= frames; ++frame) {
      module->Elapse(sampleState(frame), nullptr, nullptr);
    }
  }
  const int frames = frameJustPastSecondChunk(cleanLog(60000));
  const std::string expected = cleanLog(frames);
  TemporaryDirectory directory;
  InstalledModule module{directory.path(), plugin::defaultModuleFileName()};
};

TEST(UnloadedModuleTest, UnloadingWithARunOpenFinishesItsLog) {
  RunPastSecondChunk run;
  ASSERT_GT(run.frames, 0);
  run.module->close();
  ASSERT_TRUE(testing_support::awaitFinishedLogs(run.directory.path(), 1));
  EXPECT_EQ(run.module.onlyLog(), run.expected);
}

TEST(UnloadedModuleTest, ASecondLoadWithoutDisposeFinishesTheFirstLog) {
  RunPastSecondChunk run;
  run.module->Load();
  ASSERT_EQ(run.module.logs().size(), 1u);
  EXPECT_EQ(readFileBytes(run.module.logs()[0]), run.expected);
  run.module->Dispose();
}

// The ids of this process's threads.
std::set<DWORD> threadIds() {
  std::set<DWORD> ids;
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 thread = {};
  thread.dwSize = sizeof thread;
  for (BOOL more = Thread32First(snapshot, &thread); more; more = Thread32Next(snapshot, &thread)) {
    if (thread.th32OwnerProcessID == GetCurrentProcessId()) ids.insert(thread.th32ThreadID);
  }
  CloseHandle(snapshot);
  return ids;
}

// The ids in after that are not in before.
std::set<DWORD> newIds(const std::set<DWORD>& before, const std::set<DWORD>& after) {
  std::set<DWORD> added;
  std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                      std::inserter(added, added.end()));
  return added;
}

// True once none of ids is a thread of this process, a second at most: a
// thread let go ends a moment later.
bool awaitThreadsGone(const std::set<DWORD>& ids) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  for (;;) {
    const std::set<DWORD> now = threadIds();
    const bool gone =
        std::none_of(ids.begin(), ids.end(), [&now](DWORD id) { return now.count(id) > 0; });
    if (gone || std::chrono::steady_clock::now() > deadline) return gone;
    Sleep(10);
  }
}

// The handles this process holds.
DWORD handleCount() {
  DWORD handles = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handles);
  return handles;
}

TEST(UnloadedModuleTest, ARunHasOneThreadOfItsOwnAndManyShortRunsLeaveNoneBehind) {
  TemporaryDirectory directory;
  writeModuleFiles(directory);
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  // Each run passes a few chunks, so that work is handed to the pool. The
  // threads that appear while it lasts are its own.
  std::size_t mostNewThreadsInARun = 0;
  std::set<DWORD> runsThreads;
  const auto run = [&] {
    const std::set<DWORD> before = threadIds();
    module->Load();
    for (int frame = 1; frame <= 60000; ++frame) {
      module->Elapse(sampleState(frame), nullptr, nullptr);
      if (frame % 20000 == 0) {
        const std::set<DWORD> added = newIds(before, threadIds());
        mostNewThreadsInARun = std::max(mostNewThreadsInARun, added.size());
        runsThreads.insert(added.begin(), added.end());
      }
    }
    module->Dispose();
  };
  for (int warmUp = 0; warmUp < 3; ++warmUp) run();
  const DWORD handlesBefore = handleCount();
  constexpr int kRuns = 20;
  for (int index = 0; index < kRuns; ++index) run();
  EXPECT_EQ(mostNewThreadsInARun, 1u) << "0: the work was done on the host's thread";
  EXPECT_TRUE(awaitThreadsGone(runsThreads)) << "a thread outlived its run";
  EXPECT_LE(handleCount(), handlesBefore + 2);
  EXPECT_EQ(module.logs().size(), 3u + kRuns);
}

}  // namespace
