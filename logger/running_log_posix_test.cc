// Hosts sharing a folder that meet at the worst moments, which the system
// calls where they meet are hooked to force.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "logger/running_log.h"
#include "tests/interposed_calls_posix.h"
#include "tests/temporary_directory.h"

namespace logger {
namespace {

using testing_support::CallHooksRemoved;
using testing_support::filesStartingWith;
using testing_support::hookCall;
using testing_support::InterposedCall;
using testing_support::readFileBytes;
using testing_support::TemporaryDirectory;

// Something that happens once, for another thread to wait for.
class Event {
 public:
  void happen() {
    std::lock_guard<std::mutex> lock(mutex_);
    happened_ = true;
    changed_.notify_all();
  }
  bool happened() {
    std::lock_guard<std::mutex> lock(mutex_);
    return happened_;
  }
  // Waits for it, a few seconds at most, so that a broken order cannot hang the test.
  void await() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait_for(lock, std::chrono::seconds(5), [this] { return happened_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool happened_ = false;
};

constexpr char kLogName[] = "Log_251007-114225";

TEST(RunningLogRaceTest, RecoveryNeverRemovesTheNewRunningFileOfAnotherRun) {
  TemporaryDirectory directory;
  const std::string folder = directory.path().string();
  const std::thread::id creator = std::this_thread::get_id();
  Event created;    // the creator's file is there, not yet locked
  Event letGo;      // the recovery took it over, found no row and is removing it
  Event confirmed;  // the creator has a running file that it holds
  CallHooksRemoved hooksRemoved;
  hookCall(InterposedCall::kFlock, [&] {
    if (std::this_thread::get_id() == creator && !created.happened()) {
      created.happen();
      letGo.await();
    }
    return 0;
  });
  hookCall(InterposedCall::kUnlink, [&] {
    if (std::this_thread::get_id() != creator && !letGo.happened()) {
      letGo.happen();
      confirmed.await();
    }
    return 0;
  });
  std::thread recovery([&] {
    created.await();
    recoverRunningLogs(folder);
  });
  platform::FileHandle file;
  std::string path;
  const bool running = createRunningLog(folder, kLogName, &file, &path);
  confirmed.happen();
  recovery.join();
  ASSERT_TRUE(running);
  EXPECT_TRUE(platform::isSameFile(file, path)) << "the running file was taken away";
  ASSERT_TRUE(platform::writeFile(file, "H,\r\n", 4));
  EXPECT_TRUE(nameFinishedLog(&file, path, (directory.path() / kLogName).string()));
  EXPECT_EQ(readFileBytes(directory.path() / (std::string(kLogName) + ".csv")), "H,\r\n");
}

TEST(RunningLogRaceTest, ARunCutShortWhileBeingNamedLeavesItsLogOnce) {
  TemporaryDirectory directory;
  const std::string folder = directory.path().string();
  const std::string finished = (directory.path() / (std::string(kLogName) + ".csv")).string();
  {
    platform::FileHandle file;
    std::string path;
    ASSERT_TRUE(createRunningLog(folder, kLogName, &file, &path));
    ASSERT_TRUE(platform::writeFile(file, "H,\r\n1,\r\n", 8));
    // The finished name given, and the host gone before the running name went.
    ASSERT_EQ(link(path.c_str(), finished.c_str()), 0);
  }
  recoverRunningLogs(folder);
  EXPECT_EQ(readFileBytes(finished), "H,\r\n1,\r\n");
  EXPECT_TRUE(filesStartingWith(directory.path(), "Running_").empty());
  EXPECT_EQ(filesStartingWith(directory.path(), "Log_").size(), 1u);
}

TEST(RunningLogRaceTest, WithoutHardLinksAFinishedLogNeverReplacesOneNamedInTheSameInstant) {
  TemporaryDirectory directory;
  const std::string stem = (directory.path() / kLogName).string();
  CallHooksRemoved hooksRemoved;
  hookCall(InterposedCall::kLink, [] { return EPERM; });  // as on vfat
  bool otherFinished = false;
  hookCall(InterposedCall::kRename, [&] {
    if (!otherFinished) directory.write(std::string(kLogName) + ".csv", "other");
    otherFinished = true;
    return 0;
  });
  platform::FileHandle file;
  std::string path;
  ASSERT_TRUE(createRunningLog(directory.path().string(), kLogName, &file, &path));
  ASSERT_TRUE(platform::writeFile(file, "mine", 4));
  EXPECT_TRUE(nameFinishedLog(&file, path, stem));
  EXPECT_EQ(readFileBytes(stem + ".csv"), "other");
  EXPECT_EQ(readFileBytes(stem + "_2.csv"), "mine");
  EXPECT_TRUE(filesStartingWith(directory.path(), "Running_").empty());
}

}  // namespace
}  // namespace logger
