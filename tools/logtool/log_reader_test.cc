#include "tools/logtool/log_reader.h"

#include <gtest/gtest.h>

#include "tests/temporary_directory.h"

namespace logtool {
namespace {

using testing_support::TemporaryDirectory;

// Every row of the log at path, its fields joined by '|'.
std::vector<std::string> readRows(LogReader* log) {
  std::vector<std::string> rows;
  LogRow row;
  while (log->next(&row)) {
    std::string joined;
    for (std::size_t i = 0; i < row.ends.size(); ++i)
      joined += (i ? "|" : "") + std::string(row.field(i));
    rows.push_back(joined);
  }
  return rows;
}

// The message reading the log with these bytes fails with; "" when it reads.
std::string failureOf(const std::string& bytes) {
  TemporaryDirectory directory;
  const std::string path = directory.write("Log_1.csv", bytes).string();
  try {
    LogReader log(path);
    readRows(&log);
  } catch (const InputError& error) {
    const std::string message = error.what();
    return message.substr(message.find("Log_1.csv"));
  }
  return "";
}

TEST(LogReaderTest, ReadsTitlesAndRowsOfBothFormats) {
  TemporaryDirectory directory;
  LogReader point(directory
                      .write("Log_1.csv",
                             "Time,Speed,Doors,\r\n"
                             "25:00:00.000,1.5,,\r\n"
                             "25:00:01.000,1e+006,true,\r\n")
                      .string());
  EXPECT_EQ(point.titles(), (std::vector<std::string>{"Time", "Speed", "Doors"}));
  EXPECT_EQ(point.decimalMark(), DecimalMark::kPoint);
  EXPECT_EQ(readRows(&point),
            (std::vector<std::string>{"25:00:00.000|1.5|", "25:00:01.000|1e+006|true"}));
  EXPECT_FALSE(point.stoppedAtZeroByte());
  EXPECT_FALSE(point.tornRowLeftOut());

  LogReader comma(directory
                      .write("Log_2.csv",
                             "Time;\"Speed; km/h\";\r\n"
                             "\"25:00:00,000\";\"1,5\";\r\n")
                      .string());
  EXPECT_EQ(comma.titles(), (std::vector<std::string>{"Time", "Speed; km/h"}));
  EXPECT_EQ(comma.decimalMark(), DecimalMark::kComma);
  EXPECT_EQ(readRows(&comma), std::vector<std::string>{"25:00:00.000|1.5"});
}

TEST(LogReaderTest, StopsAtTheZeroFilledTailOfAnInProgressLog) {
  TemporaryDirectory directory;
  const std::string head = "Time,Speed,\r\n10:00:00.000,1,\r\n10:00:01.000,2,\r\n";
  LogReader zeros(
      directory.write("Log_1.csv", head + "10:00:0" + std::string(4096, '\0')).string());
  EXPECT_EQ(readRows(&zeros), (std::vector<std::string>{"10:00:00.000|1", "10:00:01.000|2"}));
  EXPECT_TRUE(zeros.stoppedAtZeroByte());
  EXPECT_TRUE(zeros.tornRowLeftOut());

  LogReader torn(directory.write("Log_2.csv", head + "10:00:02.000,3").string());
  EXPECT_EQ(readRows(&torn).size(), 2u);
  EXPECT_FALSE(torn.stoppedAtZeroByte());
  EXPECT_TRUE(torn.tornRowLeftOut());

  LogReader clean(directory.write("Log_3.csv", head + std::string(100, '\0')).string());
  EXPECT_EQ(readRows(&clean).size(), 2u);
  EXPECT_TRUE(clean.stoppedAtZeroByte());
  EXPECT_FALSE(clean.tornRowLeftOut());
}

TEST(LogReaderTest, ReadsRowsAcrossItsBufferBoundaries) {
  std::string bytes = "Time ms,Location m,\r\n";
  const int rowCount = 150000;  // about 3 MiB: several reads
  for (int i = 0; i < rowCount; ++i) bytes += std::to_string(i) + ",123.456,\r\n";
  TemporaryDirectory directory;
  LogReader log(directory.write("Log_1.csv", bytes).string());
  LogRow row;
  int rows = 0;
  bool inOrder = true;
  while (log.next(&row)) {
    inOrder = inOrder && row.field(0) == std::to_string(rows) && row.field(1) == "123.456" &&
              row.line == rows + 2;
    ++rows;
  }
  EXPECT_EQ(rows, rowCount);
  EXPECT_TRUE(inOrder);
}

TEST(LogReaderTest, NamesTheFileAndLineOfBadInput) {
  EXPECT_EQ(failureOf(""), "Log_1.csv:1: empty file: no title row");
  EXPECT_EQ(failureOf("hello world\n"),
            "Log_1.csv:1: not a log: the first line's titles do not end in ',' or ';'");
  EXPECT_EQ(failureOf("\x7f"
                      "ELF\x02\x01\x01,\n"),
            "Log_1.csv:1: not a log: binary bytes in the first line");
  EXPECT_EQ(failureOf("\x89PNG\r\n\x1a\n"),
            "Log_1.csv:1: not a log: the first line's titles do not end in ',' or ';'");
  EXPECT_EQ(failureOf("Time,Speed,"), "Log_1.csv:1: not a log: no line break after the first line");
  EXPECT_EQ(failureOf("A,B,\r\n1,2,\r\n1,\r\n"),
            "Log_1.csv:3: ragged row: 1 fields, the title row has 2");
  EXPECT_EQ(failureOf("A,B,\r\n1,2\r\n"), "Log_1.csv:2: the last field is not followed by ','");
  EXPECT_EQ(failureOf("A,B,\r\n1,\x01\xff,\r\n"),
            "Log_1.csv:2: column 'B' holds '\\x01\\xff', which is no value the module writes");
  EXPECT_EQ(failureOf("A;\r\n\"1,5;\r\n"), "Log_1.csv:2: a quote is not closed");
  EXPECT_EQ(failureOf("A,B,\r\n1,2,\r\n"), "");
}

TEST(LogReaderTest, RefusesMissingFilesAndFolders) {
  TemporaryDirectory directory;
  EXPECT_THROW(LogReader((directory.path() / "none.csv").string()), InputError);
  EXPECT_THROW(LogReader(directory.path().string()), InputError);
}

}  // namespace
}  // namespace logtool
