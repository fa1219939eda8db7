// A host killed in the middle of a run on Windows: this test program starts
// itself again as the host, which loads the module, logs frames and ends by
// TerminateProcess; the next Load here must leave that run's log.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "tests/module_fixture.h"

namespace {

using testing_support::InstalledModule;
using testing_support::readFileBytes;
using testing_support::sampleState;
using testing_support::TemporaryDirectory;

// The environment that turns this program into the killed host.
constexpr char kFolderVariable[] = "LOGGER_KILLED_HOST_FOLDER";
constexpr char kFramesVariable[] = "LOGGER_KILLED_HOST_FRAMES";
constexpr UINT kKilledExitCode = 9;

void writeModuleFiles(const TemporaryDirectory& directory) {
  directory.write("Logger.csv", "time,T\nspeed,S\nlocation,L\nbc,BC\n");
  directory.write("Logger.ini", "[Frame]\nSkip=1\n");
}

// The host: run only as the child that the test below starts.
TEST(KilledHost, DISABLED_LogsFramesAndIsTerminated) {
  const char* folder = std::getenv(kFolderVariable);
  const char* frames = std::getenv(kFramesVariable);
  if (!folder || !frames) GTEST_SKIP() << "run by KilledHostTest only";
  plugin::PluginModule module;
  std::string error;
  ASSERT_TRUE(module.open(std::string(folder) + "\\" + plugin::defaultModuleFileName(), &error))
      << error;
  module.Load();
  for (int frame = 1; frame <= std::atoi(frames); ++frame) {
    module.Elapse(sampleState(frame), nullptr, nullptr);
  }
  TerminateProcess(GetCurrentProcess(), kKilledExitCode);
}

// Runs this program as the killed host for folder; returns its exit code.
DWORD runKilledHost(const std::string& folder, int frames) {
  wchar_t program[MAX_PATH];
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  const std::wstring commandLine =
      L"\"" + std::wstring(program) + L"\" \"" + testing_support::builtModulePath().wstring() +
      L"\" \"" + testing_support::expectedLogDirectory().wstring() +
      L"\" --gtest_filter=KilledHost.* --gtest_also_run_disabled_tests";
  SetEnvironmentVariableA(kFolderVariable, folder.c_str());
  SetEnvironmentVariableA(kFramesVariable, std::to_string(frames).c_str());
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::wstring mutableLine = commandLine;
  DWORD exitCode = 0;
  if (CreateProcessW(program, &mutableLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  SetEnvironmentVariableA(kFolderVariable, nullptr);
  SetEnvironmentVariableA(kFramesVariable, nullptr);
  return exitCode;
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
    ASSERT_EQ(runKilledHost(directory.path().string(), frames), kKilledExitCode);
    EXPECT_TRUE(module.logs().empty());
    module->Load();
    EXPECT_EQ(module.onlyLog(), cleanLog(frames)) << frames << " frames";
    module->Dispose();
  }
}

}  // namespace
