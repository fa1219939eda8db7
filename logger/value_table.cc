#include "logger/value_table.h"

namespace logger {
namespace {

constexpr std::string_view kKeyTexts[kValueKeyCount] = {
    "POWER",
    "BRAKE",
    "REVERSER",
    "SIGNAL",
    "PILOTLAMP",
    "BEACON_TYPE",
    "BEACON_SIGNAL",
    "BEACON_DISTANCE",
    "BEACON_OPTIONAL",
    "LOCATION",
    "SPEED",
    "TIME",
    "BC",
    "MR",
    "ER",
    "BP",
    "SAP",
    "CURRENT",
    "ACCELERATION",
    "TIME_HHMMSS",
};

}  // namespace

std::string_view keyText(ValueKey key) { return kKeyTexts[static_cast<int>(key)]; }

std::optional<ValueKey> findValueKey(std::string_view text) {
  for (int index = 0; index < kValueKeyCount; ++index) {
    if (kKeyTexts[index] == text) return static_cast<ValueKey>(index);
  }
  return std::nullopt;
}

ValueSlot ValueTable::slotFor(std::string_view keyText) {
  const std::optional<ValueKey> key = findValueKey(keyText);
  return key ? static_cast<ValueSlot>(*key) : kNeverStoredSlot;
}

std::optional<std::string_view> ValueTable::find(std::string_view keyText) const {
  const ValueText& value = at(slotFor(keyText));
  if (value.length == 0) return std::nullopt;
  return std::string_view(value.text, value.length);
}

}  // namespace logger
