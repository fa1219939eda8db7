#include "logger/value_table.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>

namespace logger {
namespace {

// The text a column with this key reads, or none while nothing is stored.
std::optional<std::string_view> valueOf(const ValueTable& values, std::string_view key) {
  const ValueText& value = values.at(ValueTable::slotFor(key));
  if (value.length == 0) return std::nullopt;
  return std::string_view(value.text, value.length);
}

TEST(ValueTableTest, KeysAreAbsentUntilStoredAndKeepTheLatestText) {
  ValueTable values;
  EXPECT_EQ(valueOf(values, "SIGNAL"), std::nullopt);
  values.setInt(ValueKey::kSignal, -1);
  EXPECT_EQ(valueOf(values, "SIGNAL"), "-1");
  values.setInt(ValueKey::kSignal, 0);
  EXPECT_EQ(valueOf(values, "SIGNAL"), "0");
  values.setFlag(ValueKey::kPilotLamp, false);
  EXPECT_EQ(valueOf(values, "PILOTLAMP"), "false");
  values.setFlag(ValueKey::kPilotLamp, true);
  EXPECT_EQ(valueOf(values, "PILOTLAMP"), "true");
  values.setFloat(ValueKey::kBeaconDistance, 0.1f);
  EXPECT_EQ(valueOf(values, "BEACON_DISTANCE"), "0.1");
  values.setDouble(ValueKey::kLocation, 12345.678);
  EXPECT_EQ(valueOf(values, "LOCATION"), "12345.7");
  values.setClockText(ValueKey::kTimeClockText, 3723004);
  EXPECT_EQ(valueOf(values, "TIME_HHMMSS"), "01:02:03.004");
}

TEST(ValueTableTest, KeyTextsMatchExactly) {
  ValueTable values;
  values.setFloat(ValueKey::kSpeed, 45.5f);
  EXPECT_EQ(valueOf(values, "SPEED"), "45.5");
  EXPECT_EQ(valueOf(values, "speed"), std::nullopt);
  EXPECT_EQ(valueOf(values, " SPEED"), std::nullopt);
  EXPECT_EQ(ValueTable::slotFor("SPEEDO"), kNeverStoredSlot);
  EXPECT_EQ(ValueTable::slotFor(""), kNeverStoredSlot);
  EXPECT_EQ(values.at(kNeverStoredSlot).length, 0);
}

// Each key's text, written out here apart from the catalogue, so that two
// texts swapped or one mistyped there fail.
TEST(ValueTableTest, EveryCatalogueKeyHasItsOwnTextAndSlot) {
  const std::pair<ValueKey, std::string_view> expected[] = {
      {ValueKey::kPower, "POWER"},
      {ValueKey::kBrake, "BRAKE"},
      {ValueKey::kReverser, "REVERSER"},
      {ValueKey::kSignal, "SIGNAL"},
      {ValueKey::kPilotLamp, "PILOTLAMP"},
      {ValueKey::kBeaconType, "BEACON_TYPE"},
      {ValueKey::kBeaconSignal, "BEACON_SIGNAL"},
      {ValueKey::kBeaconDistance, "BEACON_DISTANCE"},
      {ValueKey::kBeaconOptional, "BEACON_OPTIONAL"},
      {ValueKey::kLocation, "LOCATION"},
      {ValueKey::kSpeed, "SPEED"},
      {ValueKey::kTime, "TIME"},
      {ValueKey::kBrakeCylinder, "BC"},
      {ValueKey::kMainReservoir, "MR"},
      {ValueKey::kEqualizingReservoir, "ER"},
      {ValueKey::kBrakePipe, "BP"},
      {ValueKey::kStraightAirPipe, "SAP"},
      {ValueKey::kCurrent, "CURRENT"},
      {ValueKey::kAcceleration, "ACCELERATION"},
      {ValueKey::kTimeClockText, "TIME_HHMMSS"},
  };
  ASSERT_EQ(std::size(expected), static_cast<std::size_t>(kValueKeyCount));
  int32_t distinct = 1;
  ValueTable values;
  for (const auto& [key, text] : expected) {
    EXPECT_EQ(keyText(key), text);
    EXPECT_EQ(findValueKey(text), key) << text;
    values.setInt(key, distinct++);
  }
  distinct = 1;
  for (const auto& [key, text] : expected)
    EXPECT_EQ(valueOf(values, text), std::to_string(distinct++));
}

}  // namespace
}  // namespace logger
