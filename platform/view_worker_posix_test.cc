// What the worker does to the process's mappings, read from /proc.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <string>
#include <thread>

#include "platform/platform.h"
#include "platform/view_worker.h"
#include "tests/child_process.h"
#include "tests/temporary_directory.h"

namespace platform {
namespace {

using testing_support::TemporaryDirectory;

constexpr std::size_t kViewSize = std::size_t{1} << 20;

// The resident kibibytes of the mapping that starts at view; -1 when there is none.
long residentKiB(const char* view) {
  std::ostringstream start;
  start << std::hex << std::setw(8) << std::setfill('0') << reinterpret_cast<uintptr_t>(view)
        << '-';
  std::ifstream smaps("/proc/self/smaps");
  bool inView = false;
  for (std::string line; std::getline(smaps, line);) {
    if (line.rfind(start.str(), 0) == 0) inView = true;
    if (inView && line.rfind("Rss:", 0) == 0) return std::stol(line.substr(4));
  }
  return -1;
}

// The lines of /proc/self/maps that name path.
int mappingsOf(const std::string& path) {
  std::ifstream maps("/proc/self/maps");
  int count = 0;
  for (std::string line; std::getline(maps, line);) {
    if (line.find(path) != std::string::npos) ++count;
  }
  return count;
}

// Waits up to ten seconds for every page of view to be resident.
void waitUntilResident(const char* view) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (residentKiB(view) < long{kViewSize / 1024} &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

struct MappedFile {
  TemporaryDirectory directory;
  std::string path = (directory.path() / "view").string();
  FileHandle file;
  MappedFile() { EXPECT_EQ(createRunningFile(path, &file), CreateResult::kCreated); }
  char* map(int index) { return mapFileView(file, int64_t{index} * int64_t{kViewSize}, kViewSize); }
  // The index-th view, mapped and handed to worker to be got ready.
  char* mapPrepared(ViewWorker* worker, int index) {
    char* view = map(index);
    EXPECT_NE(view, nullptr);
    worker->prepare(view, kViewSize);
    return view;
  }
};

// Nothing is written, yet every page of the view comes in: the writer will
// find them all mapped writable.
TEST(ViewWorkerPosixTest, APreparedViewIsResidentBeforeAnyWrite) {
  MappedFile mapped;
  char* view = mapped.map(0);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(residentKiB(view), 0);
  ViewWorker worker;
  worker.prepare(view, kViewSize);
  waitUntilResident(view);
  EXPECT_EQ(residentKiB(view), long{kViewSize / 1024});
  worker.unmap(view, kViewSize);
  worker.stop();
  EXPECT_EQ(mappingsOf(mapped.path), 0);

  // A view mapped ahead comes in the same way; one never taken goes at stop.
  worker.mapViewAhead(mapped.file, int64_t{kViewSize}, kViewSize);
  char* ahead = worker.takeViewAhead();
  ASSERT_NE(ahead, nullptr);
  waitUntilResident(ahead);
  EXPECT_EQ(residentKiB(ahead), long{kViewSize / 1024});
  worker.unmap(ahead, kViewSize);
  worker.mapViewAhead(mapped.file, int64_t{2 * kViewSize}, kViewSize);
  worker.stop();
  EXPECT_EQ(mappingsOf(mapped.path), 0);
}

// The status lines of this process's thread called name; empty when none is.
std::string threadStatus(const std::string& name) {
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    std::ifstream status(task.path() / "status");
    const std::string text((std::istreambuf_iterator<char>(status)), {});
    if (text.rfind("Name:\t" + name + "\n", 0) == 0) return text;
  }
  return "";
}

// True once this process has no thread called name, a second at most: a
// thread joined may still be on its way out a moment (under valgrind, for
// one, it is still running when the join returns).
bool awaitNoThread(const std::string& name) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  while (!threadStatus(name).empty()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// Signals meant for the host never run its handlers on the worker's thread.
TEST(ViewWorkerPosixTest, TheWorkersThreadBlocksTheHostsSignals) {
  MappedFile mapped;
  ViewWorker worker;
  char* view = mapped.mapPrepared(&worker, 0);
  const std::string status = threadStatus("logger views");
  ASSERT_NE(status, "") << "the thread is named";
  const std::size_t line = status.find("SigBlk:\t");
  ASSERT_NE(line, std::string::npos);
  const unsigned long long blocked = std::stoull(status.substr(line + 8, 16), nullptr, 16);
  for (int signal : {SIGINT, SIGTERM, SIGALRM, SIGUSR1, SIGCHLD, SIGPIPE}) {
    EXPECT_TRUE(blocked >> (signal - 1) & 1) << "signal " << signal;
  }
  worker.unmap(view, kViewSize);
  worker.stop();
  EXPECT_TRUE(awaitNoThread("logger views")) << "the thread ends at stop";
}

// A child forked while the worker's thread waits for work has no such
// thread, and its copy of the locks counts the parent's thread as waiting:
// its views are unmapped and its worker stopped all the same.
TEST(ViewWorkerPosixTest, AForkedChildNeverWaitsForTheParentsThread) {
  MappedFile mapped;
  ViewWorker worker;
  char* first = mapped.mapPrepared(&worker, 0);
  waitUntilResident(first);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));  // back to waiting
  const testing_support::ChildOutcome outcome = testing_support::runInChild([&] {
    alarm(10);  // a wait that never ends fails the test
    char* second = mapped.mapPrepared(&worker, 1);
    second[0] = 'c';
    worker.unmap(second, kViewSize);
    worker.unmap(first, kViewSize);
    worker.stop();
    return mappingsOf(mapped.path) == 0 ? 0 : 1;
  });
  EXPECT_TRUE(outcome.exited && outcome.exitCode == 0) << outcome.describe();
  worker.unmap(first, kViewSize);
  worker.stop();
  EXPECT_EQ(mappingsOf(mapped.path), 0);
}

}  // namespace
}  // namespace platform
