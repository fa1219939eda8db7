#include "logger/decimal_mark.h"

#include <gtest/gtest.h>

#include <string>

#include "logger/value_table.h"

namespace logger {
namespace {

// The text toDecimalComma makes of text, and toDecimalPoint of that again.
std::string commaText(const std::string& text, std::string* back) {
  char buffer[kValueTextCapacity] = {};
  text.copy(buffer, text.size());
  const std::size_t length = toDecimalComma(buffer, text.size());
  const std::string comma(buffer, length);
  *back = std::string(buffer, toDecimalPoint(buffer, length));
  return comma;
}

TEST(DecimalMarkTest, ValuesWithAPointAreQuotedWithAComma) {
  for (const auto& [point, comma] : std::initializer_list<std::pair<std::string, std::string>>{
           {"12.5", "\"12,5\""},
           {"-0.000123457", "\"-0,000123457\""},
           {"1.23457e+006", "\"1,23457e+006\""},
           {"-1.23457e+308", "\"-1,23457e+308\""},
           {"01:02:03.004", "\"01:02:03,004\""},
           {"-596:-31:-23.-648", "\"-596:-31:-23,-648\""},
           {"1e+006", "1e+006"},
           {"-37", "-37"},
           {"true", "true"},
           {"inf", "inf"},
           {"", ""}}) {
    std::string back;
    EXPECT_EQ(commaText(point, &back), comma);
    EXPECT_EQ(back, point);
  }
}

TEST(DecimalMarkTest, TitlesAreQuotedOnlyWhenTheCommaFormNeedsIt) {
  EXPECT_EQ(titleField("Speed km/h", DecimalMark::kComma), "Speed km/h");
  EXPECT_EQ(titleField("Speed; km/h", DecimalMark::kComma), "\"Speed; km/h\"");
  EXPECT_EQ(titleField("The \"BC\"", DecimalMark::kComma), "\"The \"\"BC\"\"\"");
  EXPECT_EQ(titleField("", DecimalMark::kComma), "");
  EXPECT_EQ(titleField("The \"BC\"; kPa", DecimalMark::kPoint), "The \"BC\"; kPa");
  EXPECT_EQ(fieldSeparator(DecimalMark::kPoint), ',');
  EXPECT_EQ(fieldSeparator(DecimalMark::kComma), ';');
}

// The text a column with this key reads.
std::string textOf(const ValueTable& values, ValueKey key) {
  const ValueText& value = values.at(ValueTable::slotFor(keyText(key)));
  return std::string(value.text, value.length);
}

TEST(DecimalMarkTest, TheTableRewritesWhatItHoldsWhenTheMarkChanges) {
  ValueTable values;
  values.setFloat(ValueKey::kBeaconDistance, 125.25f);
  values.setInt(ValueKey::kSignal, -2);
  values.setFlag(ValueKey::kPilotLamp, true);
  values.setDecimalMark(DecimalMark::kComma);
  EXPECT_EQ(textOf(values, ValueKey::kBeaconDistance), "\"125,25\"");
  EXPECT_EQ(textOf(values, ValueKey::kSignal), "-2");
  EXPECT_EQ(textOf(values, ValueKey::kPilotLamp), "true");
  values.setDouble(ValueKey::kLocation, 1234567.8);
  values.setClockText(ValueKey::kTimeClockText, 3723004);
  values.setDecimalMark(DecimalMark::kComma);
  EXPECT_EQ(textOf(values, ValueKey::kLocation), "\"1,23457e+006\"");
  EXPECT_EQ(textOf(values, ValueKey::kTimeClockText), "\"01:02:03,004\"");
  values.setDecimalMark(DecimalMark::kPoint);
  EXPECT_EQ(textOf(values, ValueKey::kBeaconDistance), "125.25");
  EXPECT_EQ(textOf(values, ValueKey::kLocation), "1.23457e+006");
  EXPECT_EQ(textOf(values, ValueKey::kTimeClockText), "01:02:03.004");
  EXPECT_EQ(textOf(values, ValueKey::kSignal), "-2");
}

}  // namespace
}  // namespace logger
