// Hosts that die in the middle of a run, share a plug-in folder, or run out
// of disk: each run is played in a child process, killed or limited there,
// and the logs left in the folder are read back here.
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/child_process.h"
#include "tests/module_fixture.h"

namespace {

using testing_support::ChildOutcome;
using testing_support::InstalledModule;
using testing_support::readFileBytes;
using testing_support::runInChild;
using testing_support::sampleState;
using testing_support::TemporaryDirectory;

// Twenty columns, as a user's column file might list them.
const char kColumns[] =
    "time_hhmmss,Time\ntime,Milliseconds\nlocation,Location m\nspeed,Speed km/h\n"
    "acceleration,Acceleration\nbc,BC\nmr,MR\ner,ER\nbp,BP\nsap,SAP\ncurrent,Current\n"
    "power,Power\nbrake,Brake\nreverser,Reverser\nsignal,Signal\npilotlamp,Doors\n"
    "beacon_type,Beacon\nbeacon_signal,Beacon signal\nbeacon_distance,Beacon distance\n"
    "beacon_optional,Beacon data\n";

// A plug-in folder with the module and its files, logging every frame.
struct PluginFolder {
  PluginFolder() {
    directory.write("Logger.csv", kColumns);
    directory.write("Logger.ini", "[Frame]\nSkip=1\n");
  }
  TemporaryDirectory directory;
  InstalledModule module{directory.path(), plugin::defaultModuleFileName()};
};

// Elapses frames first to last of sampleState.
void elapseFrames(plugin::PluginModule& module, int first, int last) {
  for (int frame = first; frame <= last; ++frame) {
    module.Elapse(sampleState(frame), nullptr, nullptr);
  }
}

// The log a clean run of the given frames writes, from a fresh module.
std::string cleanLog(int frames) {
  PluginFolder folder;
  folder.module->Load();
  elapseFrames(*folder.module, 1, frames);
  folder.module->Dispose();
  return folder.module.onlyLog();
}

// The bytes of every log in the folder, sorted.
std::vector<std::string> logContents(const InstalledModule& module) {
  std::vector<std::string> contents;
  for (const auto& log : module.logs()) contents.push_back(readFileBytes(log));
  std::sort(contents.begin(), contents.end());
  return contents;
}

// Plays a run of the given frames in a child that is then killed on the spot.
void runAndKill(plugin::PluginModule& module, int frames) {
  const ChildOutcome outcome = runInChild([&module, frames] {
    module.Load();
    elapseFrames(module, 1, frames);
    raise(SIGKILL);
    return 0;
  });
  EXPECT_TRUE(!outcome.exited && outcome.signal == SIGKILL) << outcome.describe();
}

TEST(CrashRecoveryTest, TheNextLoadLeavesEachKilledRunsLogAsADisposeWould) {
  // Before any frame, within the first chunk, after several chunks (a row is
  // some 90 bytes, a chunk a mebibyte), and twice in a row.
  for (const std::vector<int>& killedRuns :
       std::vector<std::vector<int>>{{0}, {100}, {60000}, {250, 7000}}) {
    PluginFolder folder;
    std::vector<std::string> expected;
    for (const int frames : killedRuns) {
      runAndKill(*folder.module, frames);
      expected.push_back(cleanLog(frames));
    }
    std::sort(expected.begin(), expected.end());
    folder.module->Load();
    EXPECT_EQ(logContents(folder.module), expected) << "killed after " << killedRuns.back();
    folder.module->Dispose();
    EXPECT_EQ(folder.module.logs().size(), killedRuns.size() + 1);
  }
}

TEST(ForkedHostTest, AChildThatExitsLeavesTheParentsRunWhole) {
  PluginFolder folder;
  const ChildOutcome outcome = runInChild([&folder] {
    folder.module->Load();
    elapseFrames(*folder.module, 1, 30000);  // several chunks, one under way
    // The child's exit ends the module's statics as an unload would.
    const pid_t child = fork();
    if (child == 0) exit(0);
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return 3;
    elapseFrames(*folder.module, 30001, 60000);
    folder.module->Dispose();
    return 0;
  });
  ASSERT_TRUE(outcome.exited && outcome.exitCode == 0) << outcome.describe();
  EXPECT_EQ(folder.module.onlyLog(), cleanLog(60000));
}

// A byte through a pipe, to hold one child until the other is done.
struct Signal {
  Signal() { EXPECT_EQ(pipe(ends), 0); }
  ~Signal() {
    close(ends[0]);
    close(ends[1]);
  }
  void give() { EXPECT_EQ(write(ends[1], "x", 1), 1); }
  bool await() {
    char byte;
    return read(ends[0], &byte, 1) == 1;
  }
  int ends[2];
};

TEST(CrashRecoveryTest, TwoHostsWithOneFolderNeverTakeEachOthersRunningLog) {
  PluginFolder folder;
  Signal firstIsRunning;
  Signal secondIsDone;
  const testing_support::StartedChild first = testing_support::startChild([&] {
    folder.module->Load();
    elapseFrames(*folder.module, 1, 500);
    firstIsRunning.give();
    if (!secondIsDone.await()) return 1;
    elapseFrames(*folder.module, 501, 1000);
    folder.module->Dispose();
    return 0;
  });
  ASSERT_TRUE(firstIsRunning.await());
  const ChildOutcome second = runInChild([&] {
    folder.module->Load();  // finds the first host's running log and leaves it
    elapseFrames(*folder.module, 1, 300);
    folder.module->Dispose();
    return 0;
  });
  secondIsDone.give();
  const ChildOutcome outcome = testing_support::waitForChild(first);
  ASSERT_TRUE(second.exited && second.exitCode == 0) << second.describe();
  ASSERT_TRUE(outcome.exited && outcome.exitCode == 0) << outcome.describe();
  std::vector<std::string> expected{cleanLog(1000), cleanLog(300)};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(logContents(folder.module), expected);
}

// The soft limit on the size of the process's files: reserving a chunk
// beyond it fails as on a full disk.
bool limitFileSize(rlim_t bytes) {
  rlimit value;
  if (getrlimit(RLIMIT_FSIZE, &value) != 0) return false;
  value.rlim_cur = bytes;
  return setrlimit(RLIMIT_FSIZE, &value) == 0;
}

TEST(FullDiskAtAChunkTest, TheFileKeepsItsRowsAndTheRestIsWrittenAfterThem) {
  constexpr int kFrames = 60000;  // some 5 MiB
  const std::string whole = cleanLog(kFrames);
  ASSERT_GT(whole.size(), 4u << 20);
  for (const bool roomAtDispose : {true, false}) {
    PluginFolder folder;
    const ChildOutcome outcome = runInChild([&folder, roomAtDispose] {
      signal(SIGXFSZ, SIG_IGN);
      if (!limitFileSize(3 << 20)) return 3;  // three chunks fit
      folder.module->Load();
      elapseFrames(*folder.module, 1, kFrames);
      if (roomAtDispose && !limitFileSize(RLIM_INFINITY)) return 3;
      folder.module->Dispose();
      return folder.module->GetPluginVersion() == 131072 ? 0 : 1;
    });
    ASSERT_TRUE(outcome.exited && outcome.exitCode == 0) << outcome.describe();
    const std::string log = folder.module.onlyLog();
    if (roomAtDispose) {
      EXPECT_EQ(log, whole);
    } else {
      // The disk holds only a part: it ends at a whole row.
      EXPECT_GT(log.size(), 2u << 20);
      EXPECT_LE(log.size(), 3u << 20);
      EXPECT_EQ(log, whole.substr(0, log.size()));
      EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
    }
    EXPECT_TRUE(testing_support::filesStartingWith(folder.directory.path(), "Running_").empty());
  }
}

// Makes path read-only for this process alone: a mount namespace of its own
// in which path is bind-mounted read-only, which holds even for root. False
// where this process may not do that.
// The kernel ignores the source and type of these mounts; they are named
// anyway, as checkers such as valgrind expect every argument to be text.
bool makeReadOnly(const std::filesystem::path& path) {
  return unshare(CLONE_NEWNS) == 0 &&
         mount("none", "/", "none", MS_REC | MS_PRIVATE, nullptr) == 0 &&
         mount(path.c_str(), path.c_str(), "none", MS_BIND, nullptr) == 0 &&
         mount("none", path.c_str(), "none", MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
}

TEST(ReadOnlyFolderTest, TheHostGoesOnAndNothingIsWritten) {
  constexpr int kNoNamespace = 4;
  PluginFolder folder;
  const ChildOutcome outcome = runInChild([&folder] {
    if (!makeReadOnly(folder.directory.path())) return kNoNamespace;
    folder.module->Load();
    elapseFrames(*folder.module, 1, 3000);
    folder.module->Dispose();
    return folder.module->GetPluginVersion() == 131072 ? 0 : 1;
  });
  if (outcome.exited && outcome.exitCode == kNoNamespace) {
    GTEST_SKIP() << "no mount namespace can be made here";
  }
  EXPECT_TRUE(outcome.exited && outcome.exitCode == 0) << outcome.describe();
  EXPECT_TRUE(folder.module.logs().empty());
  EXPECT_TRUE(testing_support::filesStartingWith(folder.directory.path(), "Running_").empty());
}

TEST(RemovedFolderTest, TheHostGoesOnWhenTheFolderIsRemovedDuringTheRun) {
  PluginFolder folder;
  const std::filesystem::path path = folder.directory.path();
  const ChildOutcome outcome = runInChild([&folder, &path] {
    folder.module->Load();
    elapseFrames(*folder.module, 1, 2000);
    std::filesystem::remove_all(path);
    elapseFrames(*folder.module, 2001, 12000);
    folder.module->Dispose();
    folder.module->Load();
    elapseFrames(*folder.module, 1, 10);
    folder.module->Dispose();
    return folder.module->GetPluginVersion() == 131072 ? 0 : 1;
  });
  EXPECT_TRUE(outcome.exited && outcome.exitCode == 0) << outcome.describe();
  EXPECT_FALSE(std::filesystem::exists(path));  // nothing is written elsewhere
  std::filesystem::create_directory(path);      // for the folder's own clean-up
}

}  // namespace
