#include "logger/value_table.h"

#include <gtest/gtest.h>

namespace logger {
namespace {

TEST(ValueTableTest, KeysAreAbsentUntilStoredAndKeepTheLatestText) {
  ValueTable values;
  EXPECT_EQ(values.find("SIGNAL"), std::nullopt);
  values.setInt(ValueKey::kSignal, -1);
  EXPECT_EQ(values.find("SIGNAL"), "-1");
  values.setInt(ValueKey::kSignal, 0);
  EXPECT_EQ(values.find("SIGNAL"), "0");
  values.setFlag(ValueKey::kPilotLamp, false);
  EXPECT_EQ(values.find("PILOTLAMP"), "false");
  values.setFlag(ValueKey::kPilotLamp, true);
  EXPECT_EQ(values.find("PILOTLAMP"), "true");
  values.setFloat(ValueKey::kBeaconDistance, 0.1f);
  EXPECT_EQ(values.find("BEACON_DISTANCE"), "0.1");
  values.setDouble(ValueKey::kLocation, 12345.678);
  EXPECT_EQ(values.find("LOCATION"), "12345.7");
  values.setClockText(ValueKey::kTimeClockText, 3723004);
  EXPECT_EQ(values.find("TIME_HHMMSS"), "01:02:03.004");
}

TEST(ValueTableTest, KeyTextsMatchExactly) {
  ValueTable values;
  values.setFloat(ValueKey::kSpeed, 45.5f);
  EXPECT_EQ(values.find("SPEED"), "45.5");
  EXPECT_EQ(values.find("speed"), std::nullopt);
  EXPECT_EQ(values.find(" SPEED"), std::nullopt);
  EXPECT_EQ(ValueTable::slotFor("SPEEDO"), kNeverStoredSlot);
  EXPECT_EQ(ValueTable::slotFor(""), kNeverStoredSlot);
  EXPECT_EQ(values.at(kNeverStoredSlot).length, 0);
}

TEST(ValueTableTest, EveryCatalogueKeyHasItsOwnSlot) {
  for (int index = 0; index < kValueKeyCount; ++index) {
    const ValueKey key = static_cast<ValueKey>(index);
    EXPECT_EQ(findValueKey(keyText(key)), key) << keyText(key);
    EXPECT_EQ(ValueTable::slotFor(keyText(key)), index);
  }
}

}  // namespace
}  // namespace logger
