#include "tools/logtool/log_convert.h"

#include <gtest/gtest.h>

#include "tests/temporary_directory.h"
#include "tools/logtool/log_reader.h"

namespace logtool {
namespace {

using testing_support::readFileBytes;
using testing_support::TemporaryDirectory;

TEST(LogConvertTest, EncodesFieldsForTheDecimalCommaFormat) {
  EXPECT_EQ(encodeField("12.5", DecimalMark::kComma, false), "\"12,5\"");
  EXPECT_EQ(encodeField("1.23457e+006", DecimalMark::kComma, false), "\"1,23457e+006\"");
  EXPECT_EQ(encodeField("08:42:11.000", DecimalMark::kComma, false), "\"08:42:11,000\"");
  EXPECT_EQ(encodeField("490", DecimalMark::kComma, false), "490");
  EXPECT_EQ(encodeField("", DecimalMark::kComma, false), "");
  EXPECT_EQ(encodeField("Speed; km/h", DecimalMark::kComma, true), "\"Speed; km/h\"");
  EXPECT_EQ(encodeField("a \"b\"", DecimalMark::kComma, true), "\"a \"\"b\"\"\"");
  EXPECT_EQ(encodeField("Speed km/h", DecimalMark::kComma, true), "Speed km/h");
  EXPECT_EQ(encodeField("12.5", DecimalMark::kPoint, false), "12.5");
}

TEST(LogConvertTest, NamesTheConvertedLogBesideTheLog) {
  using std::filesystem::path;
  EXPECT_EQ(path(convertedPath("run/Log_1.csv", DecimalMark::kComma)),
            path("run/Log_1.decimal-comma.csv"));
  EXPECT_EQ(path(convertedPath("run/Log_1.decimal-comma.csv", DecimalMark::kPoint)),
            path("run/Log_1.decimal-point.csv"));
}

TEST(LogConvertTest, ConvertsBothWaysBackToTheSameBytes) {
  const std::string original =
      "Time,Speed; km/h,Say \"hi\",Doors,\r\n"
      "25:00:00.000,1.23457e+006,,true,\r\n"
      "25:00:00.500,-0.5,490,false,\r\n";
  TemporaryDirectory directory;
  const auto log = directory.write("Log_1.csv", original);
  const std::string comma = convertedPath(log.string(), DecimalMark::kComma);
  EXPECT_EQ(convertLog(log.string(), DecimalMark::kComma, comma), 2);
  EXPECT_EQ(readFileBytes(comma),
            "Time;\"Speed; km/h\";\"Say \"\"hi\"\"\";Doors;\r\n"
            "\"25:00:00,000\";\"1,23457e+006\";;true;\r\n"
            "\"25:00:00,500\";\"-0,5\";490;false;\r\n");
  const std::string back = convertedPath(comma, DecimalMark::kPoint);
  EXPECT_EQ(convertLog(comma, DecimalMark::kPoint, back), 2);
  EXPECT_EQ(readFileBytes(back), original);
}

TEST(LogConvertTest, RefusesALogAlreadyInThatFormatAndTitlesItCannotHold) {
  TemporaryDirectory directory;
  const auto point = directory.write("Log_1.csv", "A,\r\n1,\r\n");
  EXPECT_THROW(
      convertLog(point.string(), DecimalMark::kPoint, (directory.path() / "o.csv").string()),
      InputError);
  const auto comma = directory.write("Log_2.csv", "a,b;\r\n\"1,5\";\r\n");
  EXPECT_THROW(
      convertLog(comma.string(), DecimalMark::kPoint, (directory.path() / "p.csv").string()),
      InputError);
}

TEST(LogConvertTest, ConvertsOnlyTheWholeRowsOfAnInProgressLog) {
  TemporaryDirectory directory;
  const auto log = directory.write("Log_1.csv", "A,\r\n1.5,\r\n2." + std::string(64, '\0'));
  const std::string output = (directory.path() / "out.csv").string();
  EXPECT_EQ(convertLog(log.string(), DecimalMark::kComma, output), 1);
  EXPECT_EQ(readFileBytes(output), "A;\r\n\"1,5\";\r\n");
}

}  // namespace
}  // namespace logtool
