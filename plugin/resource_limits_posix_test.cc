// A host that runs out of disk space or memory: the run is prepared in this
// process, then finished in a child process under a resource limit, and the
// log it leaves is read back here.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

#include "tests/child_process.h"
#include "tests/module_fixture.h"

namespace {

// The address sanitizer reserves more address space than any limit allows.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUnderAddressSanitizer = true;
#elif defined(__has_feature)
constexpr bool kUnderAddressSanitizer = __has_feature(address_sanitizer);
#else
constexpr bool kUnderAddressSanitizer = false;
#endif

using plugin::defaultModuleFileName;
using testing_support::ChildOutcome;
using testing_support::InstalledModule;
using testing_support::runInChild;
using testing_support::sampleState;
using testing_support::stateAt;
using testing_support::TemporaryDirectory;

// Exit codes of the children: the host went on after the module's call.
constexpr int kHostSurvived = 0;
constexpr int kLimitRefused = 3;

bool limit(int resource, rlim_t bytes) {
  const rlimit value{bytes, bytes};
  return setrlimit(resource, &value) == 0;
}

// Runs body while no file of the process can grow, the soft limit only, so
// that it is lifted again afterwards: no chunk of a log can be reserved on
// the disk, and a run started then is gathered in memory.
bool withoutRoomOnDisk(const std::function<void()>& body) {
  rlimit before;
  if (getrlimit(RLIMIT_FSIZE, &before) != 0) return false;
  const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit none = before;
  none.rlim_cur = 0;
  const bool limited = setrlimit(RLIMIT_FSIZE, &none) == 0;
  if (limited) body();
  setrlimit(RLIMIT_FSIZE, &before);
  signal(SIGXFSZ, previousHandler);
  return limited;
}

// Plays a run of five frames in a child, gathered in memory as where no file
// can be mapped, and disposes it while the child's files may grow to at most
// maxFileBytes.
ChildOutcome disposeWithFileSizeLimit(plugin::PluginModule& module, rlim_t maxFileBytes) {
  return runInChild([&module, maxFileBytes] {
    const bool started = withoutRoomOnDisk([&module] {
      module.Load();
      for (int32_t frame = 1; frame <= 5; ++frame) {
        module.Elapse(stateAt(1000000 + frame, 0.0f), nullptr, nullptr);
      }
    });
    signal(SIGXFSZ, SIG_IGN);
    if (!started || !limit(RLIMIT_FSIZE, maxFileBytes)) return kLimitRefused;
    module.Dispose();
    return module.GetPluginVersion() == 131072 ? kHostSurvived : 1;
  });
}

TEST(FullDiskTest, TheLogIsCutBackToItsLastWholeRow) {
  TemporaryDirectory directory;
  directory.write("Logger.csv", "time,Milliseconds\n");
  directory.write("Logger.ini", "[Frame]\nSkip=1\n");
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  const std::string header = "Milliseconds,\r\n";  // 15 bytes; each row is 10
  const std::string whole = header + "1000001,\r\n1000002,\r\n1000003,\r\n1000004,\r\n1000005,\r\n";
  struct Case {
    rlim_t maxFileBytes;
    std::string expected;
  };
  for (const Case& each :
       {Case{0, ""}, Case{9, ""}, Case{15, header}, Case{44, header + "1000001,\r\n1000002,\r\n"},
        Case{65, whole}, Case{1 << 20, whole}}) {
    const ChildOutcome outcome = disposeWithFileSizeLimit(*module, each.maxFileBytes);
    ASSERT_TRUE(outcome.exited && outcome.exitCode == kHostSurvived) << outcome.describe();
    EXPECT_EQ(module.onlyLog(), each.expected) << "limit " << each.maxFileBytes;
    for (const auto& log : module.logs()) std::filesystem::remove(log);
  }
}

// The process's address space in use now, in bytes.
rlim_t addressSpaceInUse() {
  unsigned long pages = 0;
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm) {
    if (std::fscanf(statm, "%lu", &pages) != 1) pages = 0;
    std::fclose(statm);
  }
  return static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
}

// Runs body in a child that may map at most headroom bytes beyond what it
// maps now; without a limit under the address sanitizer.
ChildOutcome runWithMemoryHeadroom(rlim_t headroom, const std::function<void()>& body) {
  return runInChild([headroom, &body] {
    if (!kUnderAddressSanitizer && !limit(RLIMIT_AS, addressSpaceInUse() + headroom)) {
      return kLimitRefused;
    }
    body();
    return kHostSurvived;
  });
}

TEST(OutOfMemoryTest, ColumnAndSettingsFilesThatNeverEndAreNotRead) {
  TemporaryDirectory directory;
  std::filesystem::create_symlink("/dev/zero", directory.path() / "Logger.csv");
  std::filesystem::create_symlink("/dev/zero", directory.path() / "Logger.ini");
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  const ChildOutcome outcome = runWithMemoryHeadroom(256 << 20, [&module] {
    module->Load();
    for (int frame = 1; frame <= 60; ++frame) module->Elapse(sampleState(frame), nullptr, nullptr);
    module->Dispose();
  });
  ASSERT_TRUE(outcome.exited && outcome.exitCode == kHostSurvived) << outcome.describe();
  EXPECT_EQ(module.onlyLog(), "\r\n\r\n");
}

// The number of files this process holds open.
int openFileCount() {
  int count = 0;
  if (DIR* descriptors = opendir("/proc/self/fd")) {
    while (readdir(descriptors)) ++count;
    closedir(descriptors);
  }
  return count;
}

// A file of size bytes that reads as zeros and takes no room on the disk.
void writeSparseFile(const std::filesystem::path& path, off_t size) {
  const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(file, 0);
  ASSERT_EQ(ftruncate(file, size), 0);
  close(file);
}

TEST(OutOfMemoryTest, AFileWhoseReadingRunsOutOfMemoryIsClosed) {
  if (kUnderAddressSanitizer) GTEST_SKIP() << "no memory limit under the address sanitizer";
  // A gigabyte without a line break: the reading runs out of memory long
  // before its end, and the file must not stay open after Load.
  for (const char* hugeFile : {"Logger.csv", "Logger.ini"}) {
    TemporaryDirectory directory;
    writeSparseFile(directory.path() / hugeFile, off_t{1} << 30);
    InstalledModule module(directory.path(), plugin::defaultModuleFileName());
    const ChildOutcome outcome = runInChild([&module] {
      if (!limit(RLIMIT_AS, addressSpaceInUse() + (64 << 20))) return kLimitRefused;
      const int before = openFileCount();
      module->Load();
      module->Dispose();
      return openFileCount() == before ? kHostSurvived : 1;
    });
    EXPECT_TRUE(outcome.exited && outcome.exitCode == kHostSurvived)
        << hugeFile << ": " << outcome.describe();
  }
}

TEST(OutOfMemoryTest, LoggingStopsAndTheRowsGatheredAreWritten) {
  if (kUnderAddressSanitizer) GTEST_SKIP() << "no memory limit under the address sanitizer";
  TemporaryDirectory directory;
  std::string columns = "time,T\n";
  for (int column = 0; column < 1000; ++column) columns += "location,L\n";
  directory.write("Logger.csv", columns);
  directory.write("Logger.ini", "[Frame]\nSkip=1\n");
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  constexpr int32_t kFrames = 20000;  // some 160 MB of rows, far beyond the headroom
  const ChildOutcome outcome = runWithMemoryHeadroom(32 << 20, [&module] {
    // No room on the disk for a chunk: the run is gathered in memory.
    withoutRoomOnDisk([&module] {
      module->Load();
      for (int32_t frame = 1; frame <= kFrames; ++frame) {
        VehicleState state = stateAt(frame, 0.0f);
        state.location = 1000.25;
        module->Elapse(state, nullptr, nullptr);
      }
    });
    module->Dispose();
  });
  ASSERT_TRUE(outcome.exited && outcome.exitCode == kHostSurvived) << outcome.describe();
  const std::string log = module.onlyLog();
  std::string fields;
  for (int column = 0; column < 1000; ++column) fields += "1000.25,";
  std::string expected = "T,";
  for (int column = 0; column < 1000; ++column) expected += "L,";
  expected += "\r\n";
  ASSERT_EQ(log.substr(0, expected.size()), expected);
  int32_t rows = 0;
  while (expected.size() < log.size()) {
    ++rows;
    expected += std::to_string(rows) + "," + fields + "\r\n";
  }
  EXPECT_EQ(log, expected);
  EXPECT_GT(rows, 100);
  EXPECT_LT(rows, kFrames);
}

TEST(OutOfMemoryTest, WideRowsTakeLittleMoreMemoryThanTheyHold) {
  if (kUnderAddressSanitizer) GTEST_SKIP() << "no memory limit under the address sanitizer";
  // Rows wider than a chunk of the log, of short values: the whole run must
  // fit in twice the log's size.
  constexpr int kColumns = 50000;
  constexpr int32_t kRows = 100;
  TemporaryDirectory directory;
  std::string columns;
  std::string header;
  for (int column = 0; column < kColumns; ++column) {
    columns += "location,L\n";
    header += "L,";
  }
  header += "\r\n";
  directory.write("Logger.csv", columns);
  directory.write("Logger.ini", "[Frame]\nSkip=1\n");
  std::string row;
  for (int column = 0; column < kColumns; ++column) row += "1000.25,";
  row += "\r\n";
  const rlim_t logSize = header.size() + kRows * row.size();
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  const ChildOutcome outcome = runWithMemoryHeadroom(2 * logSize + (16 << 20), [&module] {
    module->Load();
    VehicleState state = stateAt(1, 0.0f);
    state.location = 1000.25;
    for (int32_t frame = 1; frame <= kRows; ++frame) module->Elapse(state, nullptr, nullptr);
    module->Dispose();
  });
  ASSERT_TRUE(outcome.exited && outcome.exitCode == kHostSurvived) << outcome.describe();
  const std::string log = module.onlyLog();
  EXPECT_EQ(log.size(), logSize) << (log.size() - header.size()) / row.size() << " rows of "
                                 << kRows;
  EXPECT_EQ(log.substr(log.size() - row.size()), row);
}

}  // namespace
