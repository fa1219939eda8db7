#include "platform/platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/temporary_directory.h"

namespace platform {
namespace {

using testing_support::readFileBytes;
using testing_support::TemporaryDirectory;

// The log file's life on disk: created only where nothing is, written,
// measured and cut back, the same on every platform.
TEST(PlatformTest, NewFilesNeverReplaceAnythingAndCanBeCutBack) {
  TemporaryDirectory directory;
  const std::string path = (directory.path() / "Log.csv").string();
  FileHandle file;
  ASSERT_EQ(createNewFile(path, &file), CreateResult::kCreated);
  ASSERT_TRUE(writeFile(file, "header,\r\nrow,\r\npart", 20));
  EXPECT_EQ(fileSize(file), 20);
  EXPECT_TRUE(truncateFile(file, 15));
  EXPECT_EQ(fileSize(file), 15);
  file.close();
  EXPECT_EQ(readFileBytes(path), "header,\r\nrow,\r\n");

  FileHandle again;
  EXPECT_EQ(createNewFile(path, &again), CreateResult::kAlreadyExists);
  EXPECT_EQ(readFileBytes(path), "header,\r\nrow,\r\n");
  std::filesystem::create_directory(directory.path() / "Taken.csv");
  EXPECT_EQ(createNewFile((directory.path() / "Taken.csv").string(), &again),
            CreateResult::kAlreadyExists);
  EXPECT_EQ(createNewFile((directory.path() / "absent" / "Log.csv").string(), &again),
            CreateResult::kFailed);
}

// A handle owns its file alone: moving hands the file over, so it is
// closed exactly once, by whichever handle holds it last.
TEST(PlatformTest, FileHandlesHandTheirFileOverWhenMoved) {
  TemporaryDirectory directory;
  const auto path = directory.write("Logger.csv", "speed,Speed\n");
  FileHandle first = openForReading(path.string());
  ASSERT_TRUE(first.isOpen());
  FileHandle second = std::move(first);
  EXPECT_FALSE(first.isOpen());
  char buffer[64];
  EXPECT_EQ(readFile(second, buffer, sizeof buffer), 12);
  FileHandle third = openForReading(path.string());
  third = std::move(second);
  EXPECT_FALSE(second.isOpen());
  EXPECT_EQ(readFile(third, buffer, sizeof buffer), 0) << "the moved handle keeps its position";
  third.close();
  EXPECT_FALSE(third.isOpen());
  third.close();
}

TEST(PlatformTest, OnlyRegularFilesAreOpenedForReading) {
  TemporaryDirectory directory;
  const auto path = directory.write("Logger.csv", "speed,Speed\n");
  FileHandle file = openForReading(path.string());
  ASSERT_TRUE(file.isOpen());
  char buffer[64];
  EXPECT_EQ(readFile(file, buffer, sizeof buffer), 12);
  EXPECT_EQ(readFile(file, buffer, sizeof buffer), 0);
  file.close();
  EXPECT_FALSE(openForReading(directory.path().string()).isOpen());
  EXPECT_FALSE(openForReading((directory.path() / "absent.csv").string()).isOpen());
  EXPECT_TRUE(fileExists(path.string()));
  EXPECT_TRUE(fileExists(directory.path().string()));
  EXPECT_FALSE(fileExists((directory.path() / "absent.csv").string()));
}

TEST(PlatformTest, CuttingTheLastComponentKeepsARootsSeparator) {
  const std::string separator(1, pathSeparator());
  const std::string root = separator == "\\" ? "C:\\" : "/";
  EXPECT_EQ(removeLastPathComponent(root + "Logger" + moduleExtension()), root);
  EXPECT_EQ(removeLastPathComponent(root + "sim" + separator + "Logger" + moduleExtension()),
            root + "sim");
  EXPECT_EQ(removeLastPathComponent(root + "a.dll" + separator + "Logger.dll"), root + "a.dll");
}

// The number of days in month (1 to 12) of year.
int daysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

TEST(PlatformTest, LocalTimeHasCalendarFields) {
  LocalTime now;
  ASSERT_TRUE(currentLocalTime(&now));
  EXPECT_GE(now.yearsSince1900, 70);  // any year the clock may be set to, from 1970 on
  ASSERT_GE(now.month, 1);
  ASSERT_LE(now.month, 12);
  EXPECT_GE(now.day, 1);
  EXPECT_LE(now.day, daysInMonth(now.yearsSince1900 + 1900, now.month));
  EXPECT_GE(now.hour, 0);
  EXPECT_LE(now.hour, 23);
  EXPECT_GE(now.minute, 0);
  EXPECT_LE(now.minute, 59);
  EXPECT_GE(now.second, 0);
  EXPECT_LE(now.second, 60);  // a leap second
}

}  // namespace
}  // namespace platform
