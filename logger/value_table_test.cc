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
      {ValueKey::kPluginPower, "PLUGIN_POWER"},
      {ValueKey::kPluginBrake, "PLUGIN_BRAKE"},
      {ValueKey::kPluginReverser, "PLUGIN_REVERSER"},
      {ValueKey::kPluginConstantSpeed, "PLUGIN_CONSTANT_SPEED"},
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

// Each entry of an indexed family has a slot of its own, apart from every
// other entry and key; only the exact decimal index names one.
TEST(ValueTableTest, IndexedFamiliesNameEachEntryByItsDecimalIndex) {
  ASSERT_EQ(kIndexedKeyCount, 2);
  EXPECT_EQ(familyText(IndexedKey::kPanel), "PANEL_");
  EXPECT_EQ(familyText(IndexedKey::kSound), "SOUND_");
  ValueTable values;
  int32_t distinct = 1;
  for (const IndexedKey family : {IndexedKey::kPanel, IndexedKey::kSound}) {
    ASSERT_EQ(familySize(family), 256);
    for (int index = 0; index < familySize(family); ++index) {
      const std::string text = std::string(familyText(family)) + std::to_string(index);
      const ValueSlot slot = ValueTable::slotFor(text);
      ASSERT_GE(slot, kFirstIndexedSlot) << text;
      const IndexedEntry entry = indexedEntryOf(slot);
      EXPECT_EQ(entry.family, family);
      EXPECT_EQ(entry.index, index);
      values.setIndexed(slot, distinct++);
    }
  }
  values.setInt(ValueKey::kPluginConstantSpeed, -7);
  EXPECT_EQ(valueOf(values, "PANEL_0"), "1");
  EXPECT_EQ(valueOf(values, "PANEL_255"), "256");
  EXPECT_EQ(valueOf(values, "SOUND_0"), "257");
  EXPECT_EQ(valueOf(values, "SOUND_255"), "512");
  EXPECT_EQ(valueOf(values, "PLUGIN_CONSTANT_SPEED"), "-7");
  for (const char* unknown : {"PANEL_", "PANEL_256", "PANEL_07", "PANEL_00", "PANEL_+1", "PANEL_-1",
                              "PANEL_1x", "PANEL_99999999999", "SOUND_1000", "panel_1", "PANEL"}) {
    EXPECT_EQ(ValueTable::slotFor(unknown), kNeverStoredSlot) << unknown;
  }
  values.clearSlot(ValueTable::slotFor("SOUND_0"));
  EXPECT_EQ(valueOf(values, "SOUND_0"), std::nullopt);
  values.setDecimalMark(DecimalMark::kComma);
  EXPECT_EQ(valueOf(values, "PANEL_255"), "256");
}

}  // namespace
}  // namespace logger
