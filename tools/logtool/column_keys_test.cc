#include "tools/logtool/column_keys.h"

#include <gtest/gtest.h>

#include "tests/temporary_directory.h"
#include "tools/logtool/log_reader.h"

namespace logtool {
namespace {

using testing_support::TemporaryDirectory;

const std::vector<std::string> kTitles = {"Time", "Speed km/h", "Doors closed"};

TEST(ColumnKeysTest, MatchesTheColumnFileToTheTitlesLineByLine) {
  TemporaryDirectory directory;
  // Read as the module reads it: any key case, lines without a title
  // skipped, fields after the title ignored, CR LF line ends.
  const auto file = directory.write("Logger.csv",
                                    "time_hhmmss,Time\r\nnotitle\r\nSpeed,Speed km/h,ignored\r\n"
                                    "PILOTLAMP,Doors closed");
  const ColumnKeys keys = keysFromColumnFile(file.string(), kTitles);
  EXPECT_EQ(keys.keys, (std::vector<ColumnKey>{ColumnKey::kTimeClockText, ColumnKey::kSpeed,
                                               ColumnKey::kPilotLamp}));
  EXPECT_EQ(keys.columnOf(ColumnKey::kSpeed), 1);
  EXPECT_EQ(keys.columnOf(ColumnKey::kLocation), -1);
}

TEST(ColumnKeysTest, NamesTheLineOfAColumnFileThatDoesNotMatch) {
  TemporaryDirectory directory;
  const auto wrongTitle = directory.write("A.csv", "time_hhmmss,Time\nspeed,Speed\n");
  try {
    keysFromColumnFile(wrongTitle.string(), kTitles);
    FAIL() << "no error";
  } catch (const InputError& error) {
    EXPECT_EQ(std::string(error.what()),
              wrongTitle.string() + ":2: title 'Speed' is not the log's column 2 'Speed km/h'");
  }
  const auto fewer = directory.write("B.csv", "time_hhmmss,Time\n");
  EXPECT_THROW(keysFromColumnFile(fewer.string(), kTitles), InputError);
  const auto more = directory.write(
      "C.csv", "time_hhmmss,Time\nspeed,Speed km/h\npilotlamp,Doors closed\nbc,BC\n");
  EXPECT_THROW(keysFromColumnFile(more.string(), kTitles), InputError);
  EXPECT_THROW(keysFromColumnFile((directory.path() / "none.csv").string(), kTitles), InputError);
}

TEST(ColumnKeysTest, FindsTheOneColumnFileBesideTheLog) {
  TemporaryDirectory directory;
  const auto log = directory.write("Log_251007-114225.csv", "Time,\r\n");
  directory.write("Log_251007-114226.csv", "speed,Speed\r\n");  // a log, though it reads like one
  directory.write("notes.csv", "a,b\r\n");                      // names no key
  EXPECT_FALSE(columnFileBeside(log.string()));
  const auto columns = directory.write("Logger.csv", "time_hhmmss,Time\r\n");
  EXPECT_EQ(columnFileBeside(log.string()), columns.string());
  directory.write("Brake.csv", "bc,BC\r\n");
  EXPECT_FALSE(columnFileBeside(log.string()));
}

TEST(ColumnKeysTest, WithoutAMatchingColumnFileTitlesNamingKeysAreTaken) {
  TemporaryDirectory directory;
  const auto log = directory.write("Log_1.csv", "x,\r\n");
  directory.write("Logger.csv", "time_hhmmss,Other title\r\n");
  const ColumnKeys keys = findColumnKeys(log.string(), {"Speed", "LOCATION", "Time"}, "");
  EXPECT_EQ(keys.keys,
            (std::vector<ColumnKey>{ColumnKey::kSpeed, ColumnKey::kLocation, ColumnKey::kTime}));
  EXPECT_TRUE(keys.columnFile.empty());
  EXPECT_NE(keys.note.find("does not match"), std::string::npos) << keys.note;
  // Named on the command line, a column file that does not match is an error.
  EXPECT_THROW(findColumnKeys(log.string(), {"Time"}, (directory.path() / "Logger.csv").string()),
               InputError);
}

}  // namespace
}  // namespace logtool
