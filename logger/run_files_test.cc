#include "logger/run_files.h"

#include <gtest/gtest.h>

#include <string>

namespace logger {
namespace {

// Writes a path in this platform's separators: "/" in the text becomes the
// platform's own.
std::string native(std::string path) {
  for (char& c : path) {
    if (c == '/') c = platform::pathSeparator();
  }
  return path;
}

std::string extension() { return platform::moduleExtension(); }

TEST(RunFilesTest, SettingsAndColumnFilesSitBesideTheModule) {
  const RunFiles files = deriveRunFiles(native("/sim/plugins/Logger") + extension());
  EXPECT_EQ(files.settingsPath, native("/sim/plugins/Logger.ini"));
  EXPECT_EQ(files.columnsPath, native("/sim/plugins/Logger.csv"));
  EXPECT_EQ(files.directory, native("/sim/plugins"));
}

TEST(RunFilesTest, OnlyTheExtensionOfTheFileNameIsReplaced) {
  const RunFiles inside =
      deriveRunFiles(native("/a") + extension() + native("/Logger") + extension());
  EXPECT_EQ(inside.settingsPath, native("/a") + extension() + native("/Logger.ini"));
  EXPECT_EQ(inside.directory, native("/a") + extension());

  std::string upper = extension();
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_EQ(deriveRunFiles(native("/sim/LOGGER") + upper).columnsPath, native("/sim/LOGGER.csv"));
}

TEST(RunFilesTest, AModuleWithoutItsExtensionNamesNoFilesButStillHasADirectory) {
  const RunFiles files = deriveRunFiles(native("/sim/Logger.bin"));
  EXPECT_EQ(files.settingsPath, "");
  EXPECT_EQ(files.columnsPath, "");
  EXPECT_EQ(files.directory, native("/sim"));
  EXPECT_EQ(deriveRunFiles("").directory, "");
}

TEST(RunFilesTest, LogNamesCarryTheRunsLocalStartTime) {
  const platform::LocalTime time = {125, 10, 7, 11, 42, 5};
  const std::string stem = composeLogStem(native("/sim"), time);
  EXPECT_EQ(stem, native("/sim/Log_251007-114205"));
  EXPECT_EQ(logPathForAttempt(stem, 1), native("/sim/Log_251007-114205.csv"));
  EXPECT_EQ(logPathForAttempt(stem, 2), native("/sim/Log_251007-114205_2.csv"));
  EXPECT_EQ(logPathForAttempt(stem, 12), native("/sim/Log_251007-114205_12.csv"));
  EXPECT_EQ(composeLogStem("x", {100, 1, 1, 0, 0, 0}), native("x/Log_000101-000000"));
}

}  // namespace
}  // namespace logger
