#include "tools/logtool/log_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace logtool {
namespace {

std::vector<std::string> split(std::string_view row, DecimalMark mark, bool values = true) {
  std::string text, error;
  std::vector<std::size_t> ends;
  EXPECT_TRUE(splitRow(row, mark, values, &text, &ends, &error)) << row << ": " << error;
  std::vector<std::string> fields;
  std::size_t begin = 0;
  for (const std::size_t end : ends) {
    fields.push_back(text.substr(begin, end - begin));
    begin = end + 1;
  }
  return fields;
}

std::string splitError(std::string_view row, DecimalMark mark) {
  std::string text, error;
  std::vector<std::size_t> ends;
  EXPECT_FALSE(splitRow(row, mark, true, &text, &ends, &error)) << row;
  return error;
}

TEST(LogTextTest, DetectsTheFormatByTheTitleRowsLastSeparator) {
  EXPECT_EQ(detectDecimalMark("Time,Speed km/h,"), DecimalMark::kPoint);
  EXPECT_EQ(detectDecimalMark("Time;Speed; km/h;"), DecimalMark::kComma);
  EXPECT_EQ(detectDecimalMark("\"a;b\";"), DecimalMark::kComma);
  EXPECT_EQ(detectDecimalMark(""), DecimalMark::kPoint);
}

TEST(LogTextTest, SplitsDecimalPointRowsWithEmptyFields) {
  EXPECT_EQ(split("08:42:11.000,1.23457e+006,,true,", DecimalMark::kPoint),
            (std::vector<std::string>{"08:42:11.000", "1.23457e+006", "", "true"}));
  EXPECT_EQ(split("", DecimalMark::kPoint), std::vector<std::string>{});
  EXPECT_EQ(split(",,", DecimalMark::kPoint), (std::vector<std::string>{"", ""}));
}

TEST(LogTextTest, SplitsDecimalCommaRowsUnquotingAndRestoringPoints) {
  EXPECT_EQ(split("\"08:42:11,000\";\"12,5\";0;;false;", DecimalMark::kComma),
            (std::vector<std::string>{"08:42:11.000", "12.5", "0", "", "false"}));
  // Titles keep their commas; quotes inside a title are doubled.
  EXPECT_EQ(split("\"Speed; km/h\";\"say \"\"hi\"\"\";a,b;", DecimalMark::kComma, false),
            (std::vector<std::string>{"Speed; km/h", "say \"hi\"", "a,b"}));
}

TEST(LogTextTest, RefusesRowsThatDoNotSplit) {
  EXPECT_EQ(splitError("1,2", DecimalMark::kPoint), "the last field is not followed by ','");
  EXPECT_EQ(splitError("\"12,5;", DecimalMark::kComma), "a quote is not closed");
  EXPECT_EQ(splitError("\"12,5\"x;", DecimalMark::kComma), "a quoted field is not followed by ';'");
}

TEST(LogTextTest, ClassifiesTheValueTextsTheModuleWrites) {
  EXPECT_EQ(classifyValue(""), ValueKind::kEmpty);
  EXPECT_EQ(classifyValue("-1.23457e+006"), ValueKind::kNumber);
  EXPECT_EQ(classifyValue("nan"), ValueKind::kNumber);
  EXPECT_EQ(classifyValue("false"), ValueKind::kBoolean);
  EXPECT_EQ(classifyValue("25:00:00.000"), ValueKind::kClock);
  EXPECT_EQ(classifyValue("abc"), ValueKind::kOther);
  EXPECT_EQ(classifyValue("12 5"), ValueKind::kOther);
}

TEST(LogTextTest, ParsesNumbersAndNothingElse) {
  double value = 0;
  EXPECT_TRUE(parseNumber("1.23457e+006", &value));
  EXPECT_DOUBLE_EQ(value, 1234570);
  EXPECT_TRUE(parseNumber("1e-005", &value));
  EXPECT_DOUBLE_EQ(value, 0.00001);
  EXPECT_TRUE(parseNumber("-inf", &value));
  EXPECT_TRUE(std::isinf(value) && value < 0);
  for (const char* text : {"", "1-2", "1.5e", "--1", "true", "12:00:00.000"}) {
    EXPECT_FALSE(parseNumber(text, &value)) << text;
  }
}

TEST(LogTextTest, ParsesClockTextPastMidnightAndNegative) {
  double seconds = 0;
  EXPECT_TRUE(parseClock("08:42:11.250", &seconds));
  EXPECT_DOUBLE_EQ(seconds, 8 * 3600 + 42 * 60 + 11.25);
  EXPECT_TRUE(parseClock("25:00:00.000", &seconds));
  EXPECT_DOUBLE_EQ(seconds, 90000);
  EXPECT_TRUE(parseClock("596:31:23.647", &seconds));
  EXPECT_DOUBLE_EQ(seconds, 596 * 3600 + 31 * 60 + 23.647);
  EXPECT_TRUE(parseClock("-596:-31:-23.-648", &seconds));
  EXPECT_DOUBLE_EQ(seconds, -(596 * 3600 + 31 * 60 + 23.648));
  for (const char* text : {"8:42", "08:42:11", "08:42:11.2x0", "aa:bb:cc.ddd", "08:4211.000"}) {
    EXPECT_FALSE(parseClock(text, &seconds)) << text;
  }
  EXPECT_EQ(formatClock(90000.5), "25:00:00.500");
  EXPECT_EQ(formatClock(59.9996), "00:01:00.000");
}

}  // namespace
}  // namespace logtool
