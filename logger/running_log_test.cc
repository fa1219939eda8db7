#include "logger/running_log.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/temporary_directory.h"

namespace logger {
namespace {

using testing_support::filesStartingWith;
using testing_support::readFileBytes;
using testing_support::TemporaryDirectory;

TEST(RunningLogTest, InProgressNamesCarryTheirLogNameAndNothingElseDoes) {
  EXPECT_EQ(runningFileName("Log_251007-114225", 1), "Running_Log_251007-114225.csv.running");
  EXPECT_EQ(runningFileName("Log_251007-114225", 12), "Running_Log_251007-114225_12.csv.running");
  for (int attempt : {1, 2, 999}) {
    EXPECT_EQ(logNameOfRunningFile(runningFileName("Log_251007-114225", attempt)),
              "Log_251007-114225");
  }
  for (const char* other :
       {"Log_251007-114225.csv", "Running_Log_251007-114225.csv",
        "Running_Log_251007-114225.running", "Running_Log_251007-11422x.csv.running",
        "Running_Log_251007_114225.csv.running", "Running_Log_251007-114225_.csv.running",
        "Running_Log_251007-114225_2a.csv.running", "Running_Log_251007-114225x.csv.running",
        "running_Log_251007-114225.csv.running", ""}) {
    EXPECT_EQ(logNameOfRunningFile(other), "") << other;
  }
}

// Writes bytes into a new in-progress file of the given log name.
std::string writeRunningFile(const TemporaryDirectory& directory, const std::string& logName,
                             const std::string& bytes) {
  platform::FileHandle file;
  std::string path;
  EXPECT_TRUE(createRunningLog(directory.path().string(), logName, &file, &path));
  EXPECT_TRUE(platform::writeFile(file, bytes.data(), bytes.size()));
  return path;
}

TEST(RunningLogTest, RecoveryCutsBackToTheLastWholeRowAndNamesTheRunsLog) {
  TemporaryDirectory directory;
  const std::string rows = "H,\r\n1,\r\n2,\r\n";
  const std::string zeros(100000, '\0');
  writeRunningFile(directory, "Log_251007-114225", rows + "3,\r" + zeros);
  writeRunningFile(directory, "Log_251007-114225", rows + zeros);  // a second run that second
  writeRunningFile(directory, "Log_251008-000000", "no whole row" + zeros);
  directory.write("Log_251008-000000.csv", "an older log");
  // A log of UTF-8 titles keeps its mark; the mark and a torn title row are no whole row.
  const std::string mark = "\xEF\xBB\xBF";
  writeRunningFile(directory, "Log_251009-000000", mark + rows + "3," + zeros);
  writeRunningFile(directory, "Log_251010-000000", mark + "H," + zeros);
  recoverRunningLogs(directory.path().string());
  EXPECT_EQ(readFileBytes(directory.path() / "Log_251007-114225.csv"), rows);
  EXPECT_EQ(readFileBytes(directory.path() / "Log_251007-114225_2.csv"), rows);
  EXPECT_EQ(readFileBytes(directory.path() / "Log_251008-000000.csv"), "an older log");
  EXPECT_EQ(readFileBytes(directory.path() / "Log_251009-000000.csv"), mark + rows);
  EXPECT_EQ(filesStartingWith(directory.path(), "Running_").size(), 0u);
  EXPECT_EQ(filesStartingWith(directory.path(), "Log_").size(), 4u);
}

TEST(RunningLogTest, AFileThatALiveRunHoldsIsLeftAlone) {
  TemporaryDirectory directory;
  platform::FileHandle held;
  std::string path;
  ASSERT_TRUE(createRunningLog(directory.path().string(), "Log_251007-114225", &held, &path));
  ASSERT_TRUE(platform::writeFile(held, "H,\r\n", 4));
  EXPECT_FALSE(platform::takeOverFile(path).isOpen());
  recoverRunningLogs(directory.path().string());
  EXPECT_EQ(filesStartingWith(directory.path(), "Log_").size(), 0u);
  // Others may read it meanwhile.
  EXPECT_EQ(readFileBytes(path), "H,\r\n");
  held.close();
  recoverRunningLogs(directory.path().string());
  EXPECT_EQ(readFileBytes(directory.path() / "Log_251007-114225.csv"), "H,\r\n");
}

TEST(RunningLogTest, AFinishedLogNeverReplacesAFile) {
  TemporaryDirectory directory;
  const std::string stem = (directory.path() / "Log_251007-114225").string();
  directory.write("Log_251007-114225.csv", "first");
  directory.write("Log_251007-114225_2.csv", "second");
  platform::FileHandle file;
  std::string path;
  ASSERT_TRUE(createRunningLog(directory.path().string(), "Log_251007-114225", &file, &path));
  ASSERT_TRUE(platform::writeFile(file, "third", 5));
  EXPECT_TRUE(nameFinishedLog(&file, path, stem));
  EXPECT_FALSE(file.isOpen());
  EXPECT_EQ(readFileBytes(stem + ".csv"), "first");
  EXPECT_EQ(readFileBytes(stem + "_2.csv"), "second");
  EXPECT_EQ(readFileBytes(stem + "_3.csv"), "third");
  EXPECT_FALSE(platform::fileExists(path));
}

}  // namespace
}  // namespace logger
