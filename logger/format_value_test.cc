#include "logger/format_value.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <random>
#include <string>

namespace logger {
namespace {

std::string integerText(int32_t value) {
  char text[kValueTextCapacity];
  return std::string(text, formatInteger(value, text));
}

std::string doubleText(double value) {
  char text[kValueTextCapacity];
  return std::string(text, formatDouble(value, text));
}

std::string floatText(float value) {
  char text[kValueTextCapacity];
  return std::string(text, formatFloat(value, text));
}

std::string clockText(int32_t milliseconds) {
  char text[kValueTextCapacity];
  return std::string(text, formatClockText(milliseconds, text));
}

TEST(FormatValueTest, IntegersAreSignedDecimalsWithoutFillOrGrouping) {
  EXPECT_EQ(integerText(-1), "-1");
  EXPECT_EQ(integerText(0), "0");
  EXPECT_EQ(integerText(12), "12");
  EXPECT_EQ(integerText(36000000), "36000000");
  EXPECT_EQ(integerText(std::numeric_limits<int32_t>::min()), "-2147483648");
  EXPECT_EQ(integerText(std::numeric_limits<int32_t>::max()), "2147483647");
}

TEST(FormatValueTest, DoublesHaveSixSignificantDigitsAndTheShorterForm) {
  EXPECT_EQ(doubleText(0), "0");
  EXPECT_EQ(doubleText(12.5), "12.5");
  EXPECT_EQ(doubleText(1.0 / 3.0), "0.333333");
  EXPECT_EQ(doubleText(12345.678), "12345.7");
  EXPECT_EQ(doubleText(100000), "100000");
  EXPECT_EQ(doubleText(1000000), "1e+006");
  EXPECT_EQ(doubleText(1234567.0), "1.23457e+006");
  EXPECT_EQ(doubleText(1234567.8), "1.23457e+006");
  EXPECT_EQ(doubleText(123456.7), "123457");
  EXPECT_EQ(doubleText(0.0001), "0.0001");
  EXPECT_EQ(doubleText(0.00001), "1e-005");
  EXPECT_EQ(doubleText(0.000123456789), "0.000123457");
  EXPECT_EQ(doubleText(1e100), "1e+100");
  EXPECT_EQ(doubleText(-2.5e-300), "-2.5e-300");
  EXPECT_EQ(doubleText(std::numeric_limits<double>::max()), "1.79769e+308");
  EXPECT_EQ(doubleText(std::numeric_limits<double>::denorm_min()), "4.94066e-324");
  EXPECT_EQ(doubleText(-45.5), "-45.5");
  EXPECT_EQ(doubleText(-0.0), "-0");
}

TEST(FormatValueTest, TiesAtTheSixthDigitRoundUpAfterSeventeenDigitRounding) {
  EXPECT_EQ(doubleText(123456.5), "123457");
  EXPECT_EQ(doubleText(999999.5), "1e+006");
  EXPECT_EQ(doubleText(271828500), "2.71829e+008");
  // Stored a little below the tie, but its 17 digits read 1.2345650000000000.
  EXPECT_EQ(doubleText(0.1234565), "0.123457");
  // Stored below the tie and its 17 digits show it: 2.0000049999999998.
  EXPECT_EQ(doubleText(2.000005), "2");
  EXPECT_EQ(doubleText(99999.95), "99999.9");
  EXPECT_EQ(doubleText(1.000005), "1.00001");
  EXPECT_EQ(doubleText(9.999995e-5), "0.0001");
}

TEST(FormatValueTest, FloatsAreWidenedThenFormattedAsDoubles) {
  EXPECT_EQ(floatText(0.1f), "0.1");
  EXPECT_EQ(floatText(25.5f), "25.5");
  EXPECT_EQ(floatText(3.6f), "3.6");
  EXPECT_EQ(floatText(16777216.0f), "1.67772e+007");
  EXPECT_EQ(floatText(-0.0001f), "-0.0001");
}

TEST(FormatValueTest, NonFiniteValuesHaveFixedTexts) {
  EXPECT_EQ(doubleText(std::numeric_limits<double>::infinity()), "inf");
  EXPECT_EQ(doubleText(-std::numeric_limits<double>::infinity()), "-inf");
  EXPECT_EQ(doubleText(std::numeric_limits<double>::quiet_NaN()), "nan");
  EXPECT_EQ(doubleText(-std::numeric_limits<double>::quiet_NaN()), "nan");
  EXPECT_EQ(floatText(std::numeric_limits<float>::infinity()), "inf");
}

TEST(FormatValueTest, FlagsAreWords) {
  char text[kValueTextCapacity];
  EXPECT_EQ(std::string(text, formatFlag(true, text)), "true");
  EXPECT_EQ(std::string(text, formatFlag(false, text)), "false");
}

TEST(FormatValueTest, ClockTextShowsHoursMinutesSecondsAndMilliseconds) {
  EXPECT_EQ(clockText(3723004), "01:02:03.004");
  EXPECT_EQ(clockText(0), "00:00:00.000");
  EXPECT_EQ(clockText(90000000), "25:00:00.000");
  EXPECT_EQ(clockText(86399999), "23:59:59.999");
  EXPECT_EQ(clockText(std::numeric_limits<int32_t>::max()), "596:31:23.647");
  // Negative times are not expected; they still give a defined text.
  EXPECT_EQ(clockText(-5), "00:00:00.0-5");
  EXPECT_EQ(clockText(std::numeric_limits<int32_t>::min()), "-596:-31:-23.-648");
}

TEST(FormatValueTest, ClockTextAgreesWithZeroFilledFieldsForAnyTimeFromZero) {
  std::mt19937 random(3600);
  std::uniform_int_distribution<int32_t> times(0, std::numeric_limits<int32_t>::max());
  for (int trial = 0; trial < 200000; ++trial) {
    const int32_t time = trial < 100000 ? trial * 997 : times(random);
    char expected[40];
    std::snprintf(expected, sizeof expected, "%02d:%02d:%02d.%03d", time / 3600000,
                  time / 60000 % 60, time / 1000 % 60, time % 1000);
    ASSERT_EQ(clockText(time), expected);
  }
}

}  // namespace
}  // namespace logger
