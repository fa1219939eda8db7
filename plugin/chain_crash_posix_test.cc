// A chained plug-in that crashes, or ends the process, in its Elapse: the
// rows logged before are on disk, and the next Load finishes them into a log
// as after any crash. Each run is played in a forked child process.
#include <gtest/gtest.h>

#include "tests/chain_fixture.h"
#include "tests/child_process.h"

namespace {

using testing_support::ChainedFolders;
using testing_support::ChildOutcome;
using testing_support::SpeedGuardControl;

TEST(ChainCrashTest, RowsLoggedBeforeThePluginEndedTheHostAreRecoveredAtTheNextLoad) {
  for (const int mode : {SpeedGuardControl::kCrashInElapse, SpeedGuardControl::kExitInElapse}) {
    SCOPED_TRACE(mode);
    ChainedFolders folders = testing_support::foldersForAnEndingPlugin();
    const ChildOutcome outcome = testing_support::runInChild([&] {
      testing_support::logUntilThePluginEnds(*folders.module, folders.guard, mode);
      return 0;
    });
    if (mode == SpeedGuardControl::kCrashInElapse) {
      // A signal ends it; under AddressSanitizer its report ends it with an error code.
      EXPECT_FALSE(outcome.exited && outcome.exitCode == 0) << outcome.describe();
    } else {
      EXPECT_TRUE(outcome.exited && outcome.exitCode == SpeedGuardControl::kExitCodeInElapse)
          << outcome.describe();
    }
    folders.module->Load();
    EXPECT_EQ(folders.module.onlyLog(), testing_support::kLogBeforeThePluginEnded);
    folders.module->Dispose();
  }
}

}  // namespace
