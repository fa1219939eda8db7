#include "tools/simhost/scenario_values.h"

#include <gtest/gtest.h>

namespace simhost {
namespace {

TEST(ScenarioValuesTest, TimesInSecondsMinutesAndHours) {
  struct Case {
    const char* text;
    int32_t milliseconds;
  };
  for (const Case& good :
       {Case{"0", 0}, Case{"90", 90000}, Case{"2.5", 2500}, Case{"0.125", 125}, Case{"1:30", 90000},
        Case{"1:30.25", 90250}, Case{"7:30:00", 27000000}, Case{"596:31:23.647", 2147483647}}) {
    int32_t milliseconds = -1;
    EXPECT_TRUE(parseTime(good.text, &milliseconds)) << good.text;
    EXPECT_EQ(milliseconds, good.milliseconds) << good.text;
  }
  for (const char* bad : {"", "-1", "1.2345", ".5", "5.", "1:60", "1:5:00", "1:30:00:00", "1::2",
                          "596:31:23.648", "ten", "1,5", "+3"}) {
    int32_t milliseconds = 0;
    EXPECT_FALSE(parseTime(bad, &milliseconds)) << bad;
  }
}

TEST(ScenarioValuesTest, WholeAndDecimalNumbersTakeTheWholeWord) {
  int32_t whole = 0;
  EXPECT_TRUE(parseWholeNumber("-1", &whole));
  EXPECT_EQ(whole, -1);
  EXPECT_TRUE(parseWholeNumber("+12", &whole));
  EXPECT_EQ(whole, 12);
  for (const char* bad : {"", "1.5", "12a", "2147483648", "0x10", "+"}) {
    EXPECT_FALSE(parseWholeNumber(bad, &whole)) << bad;
  }
  double decimal = 0.0;
  EXPECT_TRUE(parseDecimal("-12.5", &decimal));
  EXPECT_EQ(decimal, -12.5);
  EXPECT_TRUE(parseDecimal("490", &decimal));
  EXPECT_EQ(decimal, 490.0);
  for (const char* bad : {"", "1,5", "inf", "nan", "1e3", "12 ", "--1"}) {
    EXPECT_FALSE(parseDecimal(bad, &decimal)) << bad;
  }
}

}  // namespace
}  // namespace simhost
