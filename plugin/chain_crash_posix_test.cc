// A chained plug-in that crashes, or ends the process, in its Elapse: the
// rows logged before are on disk, and the next Load finishes them into a log
// as after any crash. Each run is played in a child process.
#include <gtest/gtest.h>

#include <string>

#include "tests/chain_fixture.h"
#include "tests/child_process.h"

namespace {

using testing_support::ChainedFolders;
using testing_support::ChildOutcome;
using testing_support::runInChild;
using testing_support::stateAt;

TEST(ChainCrashTest, RowsLoggedBeforeThePluginCrashedAreRecoveredAtTheNextLoad) {
  for (const int mode : {1, 2}) {  // a fault of its own; the process ended
    SCOPED_TRACE(mode);
    ChainedFolders folders("time,Time\nplugin_brake,P brake\n",
                           "[Frame]\nSkip=1\n" + ChainedFolders::relativeChain());
    plugin::PluginModule& module = *folders.module;
    const ChildOutcome outcome = runInChild([&] {
      module.Load();
      for (int frame = 1; frame <= 3; ++frame)
        module.Elapse(stateAt(1000 * frame, 10.0f), nullptr, nullptr);
      folders.guard.setMode(mode);
      module.Elapse(stateAt(4000, 10.0f), nullptr, nullptr);
      return 0;
    });
    EXPECT_FALSE(outcome.exited && outcome.exitCode == 0) << outcome.describe();
    module.Load();
    EXPECT_EQ(folders.module.onlyLog(), "Time,P brake,\r\n1000,0,\r\n2000,0,\r\n3000,0,\r\n");
    module.Dispose();
  }
}

}  // namespace
