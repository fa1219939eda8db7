#include "logger/columns.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/log_buffer_text.h"
#include "tests/temporary_directory.h"

namespace logger {
namespace {

using testing_support::TemporaryDirectory;

using testing_support::logBufferText;

// The bytes of a literal that holds zero bytes.
template <std::size_t size>
std::string bytes(const char (&literal)[size]) {
  return std::string(literal, size - 1);
}

struct SplitCase {
  const char* line;
  bool accepted;
  const char* key;
  const char* title;
};

TEST(ColumnsTest, LinesSplitIntoKeyAndTitle) {
  const SplitCase cases[] = {
      {"speed,Speed km/h", true, "SPEED", "Speed km/h"},
      {"SPEED,Speed,unit,x", true, "SPEED", "Speed"},
      {"SPEED,Speed,", true, "SPEED", "Speed"},
      {"SPEED,,", true, "SPEED", ""},
      {"SPEED,", false, "", ""},
      {"SPEED", false, "", ""},
      {"", false, "", ""},
      {",", false, "", ""},
      {",Blank", true, "", "Blank"},
      {" time_hhmmss ,\"Clock\" \xE4", true, " TIME_HHMMSS ", "\"Clock\" \xE4"},
      {"b\xE4r,x", true, "B\xE4R", "x"},
  };
  for (const SplitCase& example : cases) {
    std::string key = "unchanged";
    std::string title = "unchanged";
    ASSERT_EQ(parseColumnLine(example.line, &key, &title), example.accepted) << example.line;
    if (!example.accepted) continue;
    EXPECT_EQ(key, example.key) << example.line;
    EXPECT_EQ(title, example.title) << example.line;
  }
}

TEST(ColumnsTest, TheColumnFileGivesColumnsInOrderAndTheHeaderRow) {
  TemporaryDirectory directory;
  const auto file = directory.write(
      "Logger.csv", "time_hhmmss,Time\r\nspeed,Speed\nSPEED\n\nbc,BC\r\nbogus,Typo\nspeed,Again");
  ColumnList columns;
  LogBuffer log;
  readColumns(file.string(), DecimalMark::kPoint, &columns, &log);
  const ColumnList expected = {ValueTable::slotFor("TIME_HHMMSS"), ValueTable::slotFor("SPEED"),
                               ValueTable::slotFor("BC"), kNeverStoredSlot,
                               ValueTable::slotFor("SPEED")};
  EXPECT_EQ(columns, expected);
  EXPECT_EQ(logBufferText(log), "Time,Speed,BC,Typo,Again,\r\n");
}

TEST(ColumnsTest, ReadingStopsAtAnEndOfTextByteAndKeepsLoneCarriageReturns) {
  TemporaryDirectory directory;
  const auto file = directory.write("Logger.csv", bytes("a,A\rB\r\r\nb,B\x1A\nc,C\n"));
  ColumnList columns;
  LogBuffer log;
  readColumns(file.string(), DecimalMark::kPoint, &columns, &log);
  EXPECT_EQ(columns.size(), 2u);
  EXPECT_EQ(logBufferText(log), "A\rB\r,B,\r\n");
}

TEST(ColumnsTest, TheCommaDecimalHeaderStartsWithTheMarkToo) {
  TemporaryDirectory directory;
  const auto file = directory.write("Logger.csv", "\xEF\xBB\xBFspeed,V; km/h\nbc,\xC3\xA4\n");
  ColumnList columns;
  LogBuffer log;
  readColumns(file.string(), DecimalMark::kComma, &columns, &log);
  EXPECT_EQ(logBufferText(log), "\xEF\xBB\xBF\"V; km/h\";\xC3\xA4;\r\n");
}

// A column file's bytes and the header row it gives, for the decimal point.
struct EncodingCase {
  const char* name;
  std::string file;
  std::string header;
};

TEST(ColumnsTest, TornAndOddFilesGiveDefinedHeaders) {
  const std::string mark = "\xEF\xBB\xBF";
  const std::string replacement = "\xEF\xBF\xBD";
  const EncodingCase cases[] = {
      {"a UTF-8 mark alone", mark, mark + "\r\n"},
      {"a UTF-16 mark alone", "\xFF\xFE", mark + "\r\n"},
      {"half a UTF-16 unit", bytes("\xFF\xFEs\0,\0S\0\n"), mark + "S,\r\n"},
      {"a lone surrogate", bytes("\xFE\xFF\0s\0,\xD8\x3D\0!"), mark + replacement + "!,\r\n"},
      {"UTF-16 text ends at U+001A", bytes("\xFF\xFEs\0,\0S\0\x1A\0b\0,\0B\0"), mark + "S,\r\n"},
      {"a UTF-16 CJK unit holding byte 26", bytes("\xFF\xFEs\0,\0\x1A\x4E"),
       mark + "\xE4\xB8\x9A,\r\n"},
      {"UTF-8 and code page 1252 titles mixed", "a,\xC3\xA4\nb,\xE4\n", "\xC3\xA4,\xE4,\r\n"},
  };
  TemporaryDirectory directory;
  for (const EncodingCase& example : cases) {
    const auto file = directory.write("Logger.csv", example.file);
    ColumnList columns;
    LogBuffer log;
    readColumns(file.string(), DecimalMark::kPoint, &columns, &log);
    EXPECT_EQ(logBufferText(log), example.header) << example.name;
  }
}

TEST(ColumnsTest, AMissingFileGivesNoColumnsAndAnEmptyHeaderRow) {
  TemporaryDirectory directory;
  for (const std::string& path : {(directory.path() / "absent.csv").string(), std::string()}) {
    ColumnList columns;
    LogBuffer log;
    readColumns(path, DecimalMark::kPoint, &columns, &log);
    EXPECT_TRUE(columns.empty());
    EXPECT_EQ(logBufferText(log), "\r\n");
  }
}

TEST(ColumnsTest, RowsCopyCurrentValuesAndLeaveAbsentOnesEmpty) {
  ValueTable values;
  values.setClockText(ValueKey::kTimeClockText, 3723004);
  values.setFloat(ValueKey::kSpeed, 45.5f);
  values.setFloat(ValueKey::kBrakeCylinder, 0.0f);
  const ColumnList columns = {ValueTable::slotFor("TIME_HHMMSS"),
                              ValueTable::slotFor("SPEED"),
                              ValueTable::slotFor("BC"),
                              ValueTable::slotFor("SIGNAL"),
                              kNeverStoredSlot,
                              ValueTable::slotFor("SPEED")};
  LogBuffer log;
  appendRow(values, columns, ',', &log);
  appendRow(values, ColumnList(), ',', &log);
  EXPECT_EQ(logBufferText(log), "01:02:03.004,45.5,0,,,45.5,\r\n\r\n");
}

TEST(ColumnsTest, RowsOfAnyWidthStayWholeAtAChunksEnd) {
  // A narrow row takes its most room at once, a wide one what it fills:
  // either must come out whole whatever room the chunk has left.
  ValueTable values;
  values.setDouble(ValueKey::kLocation, -1.234567e300);
  values.setInt(ValueKey::kTime, -2147483647);
  for (const std::size_t pairs : {std::size_t{12}, std::size_t{1500}}) {
    ColumnList columns;
    std::string row;
    for (std::size_t pair = 0; pair < pairs; ++pair) {
      columns.push_back(ValueTable::slotFor("LOCATION"));
      columns.push_back(ValueTable::slotFor("TIME"));
      row += "-1.23457e+300,-2147483647,";
    }
    row += "\r\n";
    // Room left from none to a little more than the row needs.
    std::vector<std::size_t> roomLeft;
    for (std::size_t left = 0; left < 64; ++left) roomLeft.push_back(left);
    for (std::size_t left = row.size() - 64; left < row.size() + 64; ++left) {
      roomLeft.push_back(left);
    }
    for (const std::size_t left : roomLeft) {
      const std::string filler(LogBuffer::kChunkSize - left, 'x');
      LogBuffer log;
      log.append(filler);
      appendRow(values, columns, ',', &log);
      const std::string text = logBufferText(log);
      ASSERT_EQ(text.size(), filler.size() + row.size()) << pairs << " pairs, " << left << " left";
      ASSERT_EQ(text.compare(filler.size(), row.size(), row), 0) << pairs << " pairs";
    }
  }
}

}  // namespace
}  // namespace logger
