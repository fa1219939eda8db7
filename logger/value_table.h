// The table of current values: for every key of the catalogue, the text of
// its latest value, ready to be copied into a row.
#ifndef LOGGER_LOGGER_VALUE_TABLE_H_
#define LOGGER_LOGGER_VALUE_TABLE_H_

#include <cstdint>
#include <optional>
#include <string_view>

#include "logger/format_value.h"

namespace logger {

// Every key the module stores a value under.
enum class ValueKey : uint8_t {
  kPower,
  kBrake,
  kReverser,
  kSignal,
  kPilotLamp,
  kBeaconType,
  kBeaconSignal,
  kBeaconDistance,
  kBeaconOptional,
  kLocation,
  kSpeed,
  kTime,
  kBrakeCylinder,
  kMainReservoir,
  kEqualizingReservoir,
  kBrakePipe,
  kStraightAirPipe,
  kCurrent,
  kAcceleration,
  kTimeClockText,
};

// The number of keys in the catalogue.
constexpr int kValueKeyCount = 20;

// The key's text as users write it in the column file, such as "SPEED".
std::string_view keyText(ValueKey key);

// The catalogue key whose text is exactly text, or none.
std::optional<ValueKey> findValueKey(std::string_view text);

// The text of one value; length 0 while nothing was stored.
struct ValueText {
  char text[kValueTextCapacity];
  uint8_t length;
};

// A resolved place in the table that a column reads from: one per catalogue
// key, and one more that never holds a value, for keys nothing stores.
using ValueSlot = uint8_t;
constexpr ValueSlot kNeverStoredSlot = kValueKeyCount;

// Current value texts by key. Each set operation formats its value once, so
// a row only copies text.
class ValueTable {
 public:
  // Each stores its value's text under key, replacing any earlier text.
  void setInt(ValueKey key, int32_t value) { store(key, formatInteger(value, begin(key))); }
  void setFloat(ValueKey key, float value) { store(key, formatFloat(value, begin(key))); }
  void setDouble(ValueKey key, double value) { store(key, formatDouble(value, begin(key))); }
  void setFlag(ValueKey key, bool value) { store(key, formatFlag(value, begin(key))); }
  void setClockText(ValueKey key, int32_t milliseconds) {
    store(key, formatClockText(milliseconds, begin(key)));
  }

  // The latest text stored under the key named by keyText, or none.
  std::optional<std::string_view> find(std::string_view keyText) const;

  // The slot a column with this key text reads from.
  static ValueSlot slotFor(std::string_view keyText);

  // The text in slot: empty while nothing was stored there.
  const ValueText& at(ValueSlot slot) const { return slots_[slot]; }

 private:
  char* begin(ValueKey key) { return slots_[static_cast<int>(key)].text; }
  void store(ValueKey key, const char* end) {
    ValueText& slot = slots_[static_cast<int>(key)];
    slot.length = static_cast<uint8_t>(end - slot.text);
  }

  ValueText slots_[kValueKeyCount + 1] = {};
};

}  // namespace logger

#endif  // LOGGER_LOGGER_VALUE_TABLE_H_
