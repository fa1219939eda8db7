// A chained plug-in that crashes, or ends the process, in its Elapse, on
// Windows: this test program starts itself again as the host, whose chained
// SpeedGuard then raises an access violation or exits; the next Load here
// finishes the rows logged before into a log, as after any crash.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "tests/chain_fixture.h"
#include "tests/test_host_win32.h"

namespace {

using testing_support::ChainedFolders;
using testing_support::SpeedGuardControl;

// The environment that turns this program into the host of an ending plug-in.
constexpr char kRootVariable[] = "LOGGER_ENDING_PLUGIN_ROOT";
constexpr char kModeVariable[] = "LOGGER_ENDING_PLUGIN_MODE";

// Ends this process at once with the code of the fault that reached it.
LONG WINAPI endWithTheFaultsCode(EXCEPTION_POINTERS* fault) {
  TerminateProcess(GetCurrentProcess(), fault->ExceptionRecord->ExceptionCode);
  return EXCEPTION_EXECUTE_HANDLER;
}

// The host: run only as the child that the test below starts.
TEST(EndingPluginHost, DISABLED_LogsUntilThePluginEndsTheProcess) {
  const char* root = std::getenv(kRootVariable);
  const char* mode = std::getenv(kModeVariable);
  if (!root || !mode) GTEST_SKIP() << "run by ChainCrashTest only";
  // The plug-in's fault ends the process with its code, without an error box
  // or Wine's debugger (whose backtrace would fill the test's output).
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter(endWithTheFaultsCode);
  plugin::PluginModule module;
  std::string error;
  ASSERT_TRUE(module.open(ChainedFolders::modulePathIn(root).u8string(), &error)) << error;
  const SpeedGuardControl guard(ChainedFolders::trainPluginIn(root));
  testing_support::logUntilThePluginEnds(module, guard, std::atoi(mode));
}

// Plays the run in a host whose plug-in ends it in mode, which must end
// with exitCode; then the next Load here must leave the rows logged before,
// and where zeroTailAllowed, maybe zero bytes after them.
void expectTheRowsBeforeTheEndRecovered(int mode, DWORD exitCode, bool zeroTailAllowed = false) {
  ChainedFolders folders = testing_support::foldersForAnEndingPlugin();
  EXPECT_EQ(
      testing_support::runTestAsHost(
          "EndingPluginHost.DISABLED_LogsUntilThePluginEndsTheProcess",
          {{kRootVariable, folders.root.path().u8string()}, {kModeVariable, std::to_string(mode)}}),
      exitCode);
  folders.module->Load();
  const std::string log = folders.module.onlyLog();
  const std::size_t rowsEnd = zeroTailAllowed ? std::min(log.find('\0'), log.size()) : log.size();
  EXPECT_EQ(log.substr(0, rowsEnd), testing_support::kLogBeforeThePluginEnded);
  EXPECT_EQ(log.find_first_not_of('\0', rowsEnd), std::string::npos) << "only zeros after the rows";
  folders.module->Dispose();
}

TEST(ChainCrashTest, RowsLoggedBeforeThePluginCrashedAreRecoveredAtTheNextLoad) {
  expectTheRowsBeforeTheEndRecovered(SpeedGuardControl::kCrashInElapse, EXCEPTION_ACCESS_VIOLATION);
}

// The exiting host (ExitProcess from within the module's Elapse) finishes
// the log itself. Where the pool's view ahead is still mapped then, the file
// cannot be cut to its length and keeps the zero-filled tail of its chunk
// after the whole rows, as any log that cannot be cut does.
TEST(ChainCrashTest, RowsLoggedBeforeThePluginExitedAreInTheLog) {
  expectTheRowsBeforeTheEndRecovered(SpeedGuardControl::kExitInElapse,
                                     SpeedGuardControl::kExitCodeInElapse, true);
}

}  // namespace
