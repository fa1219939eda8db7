// The table of current values: for every key of the catalogue, the text of
// its latest value, ready to be copied into a row.
#ifndef LOGGER_LOGGER_VALUE_TABLE_H_
#define LOGGER_LOGGER_VALUE_TABLE_H_

#include <cstdint>
#include <optional>
#include <string_view>

#include "logger/decimal_mark.h"
#include "logger/format_value.h"

namespace logger {

// The key catalogue, once: every key the module stores a value under, as
// its enumerator and the text users write in the column file. The enum, the
// count and the texts below all come from this list.
#define LOGGER_VALUE_KEYS(X)            \
  X(kPower, "POWER")                    \
  X(kBrake, "BRAKE")                    \
  X(kReverser, "REVERSER")              \
  X(kSignal, "SIGNAL")                  \
  X(kPilotLamp, "PILOTLAMP")            \
  X(kBeaconType, "BEACON_TYPE")         \
  X(kBeaconSignal, "BEACON_SIGNAL")     \
  X(kBeaconDistance, "BEACON_DISTANCE") \
  X(kBeaconOptional, "BEACON_OPTIONAL") \
  X(kLocation, "LOCATION")              \
  X(kSpeed, "SPEED")                    \
  X(kTime, "TIME")                      \
  X(kBrakeCylinder, "BC")               \
  X(kMainReservoir, "MR")               \
  X(kEqualizingReservoir, "ER")         \
  X(kBrakePipe, "BP")                   \
  X(kStraightAirPipe, "SAP")            \
  X(kCurrent, "CURRENT")                \
  X(kAcceleration, "ACCELERATION")      \
  X(kTimeClockText, "TIME_HHMMSS")      \
  X(kPluginPower, "PLUGIN_POWER")       \
  X(kPluginBrake, "PLUGIN_BRAKE")       \
  X(kPluginReverser, "PLUGIN_REVERSER") \
  X(kPluginConstantSpeed, "PLUGIN_CONSTANT_SPEED")

// The indexed families of the catalogue: each names the entries of one array
// the host hands Elapse, as its text followed by the entry's index in
// decimal without leading zeros ("PANEL_0" to "PANEL_255"). Each is one key
// of the catalogue however many entries it has.
#define LOGGER_INDEXED_KEYS(X) \
  X(kPanel, "PANEL_", 256)     \
  X(kSound, "SOUND_", 256)

// Every key the module stores a value under.
enum class ValueKey : uint8_t {
#define LOGGER_KEY_ENUMERATOR(name, text) name,
  LOGGER_VALUE_KEYS(LOGGER_KEY_ENUMERATOR)
#undef LOGGER_KEY_ENUMERATOR
};

// The number of keys in the catalogue.
#define LOGGER_COUNT_KEY(name, text) +1
constexpr int kValueKeyCount = 0 LOGGER_VALUE_KEYS(LOGGER_COUNT_KEY);
#undef LOGGER_COUNT_KEY

// Every indexed family of keys.
enum class IndexedKey : uint8_t {
#define LOGGER_INDEXED_ENUMERATOR(name, text, size) name,
  LOGGER_INDEXED_KEYS(LOGGER_INDEXED_ENUMERATOR)
#undef LOGGER_INDEXED_ENUMERATOR
};

// The number of indexed families in the catalogue.
#define LOGGER_COUNT_FAMILY(name, text, size) +1
constexpr int kIndexedKeyCount = 0 LOGGER_INDEXED_KEYS(LOGGER_COUNT_FAMILY);
#undef LOGGER_COUNT_FAMILY

// The number of entries of all indexed families together.
#define LOGGER_ADD_SIZE(name, text, size) +(size)
constexpr int kIndexedEntryCount = 0 LOGGER_INDEXED_KEYS(LOGGER_ADD_SIZE);
#undef LOGGER_ADD_SIZE

// The number of keys in the catalogue, each family counted once.
constexpr int kCatalogueKeyCount = kValueKeyCount + kIndexedKeyCount;

// One entry of an indexed family, such as PANEL_12.
struct IndexedEntry {
  IndexedKey family;
  uint16_t index;
};

// The key's text as users write it in the column file, such as "SPEED".
std::string_view keyText(ValueKey key);

// The family's text, such as "PANEL_", and its number of entries.
std::string_view familyText(IndexedKey family);
int familySize(IndexedKey family);

// The catalogue key whose text is exactly text, or none.
std::optional<ValueKey> findValueKey(std::string_view text);

// The indexed family entry that text names exactly, or none: "PANEL_7" but
// not "PANEL_07", "PANEL_256" or "PANEL_".
std::optional<IndexedEntry> findIndexedEntry(std::string_view text);

// The text of one value; length 0 while nothing was stored.
struct ValueText {
  char text[kValueTextCapacity + 1];  // room for a text written one character in
  uint8_t length;
};

// A resolved place in the table that a column reads from: one per key, one
// that never holds a value, for keys nothing stores, then one per entry of
// each indexed family, which only the frames that log it fill.
using ValueSlot = uint16_t;
constexpr ValueSlot kNeverStoredSlot = kValueKeyCount;
constexpr ValueSlot kFirstIndexedSlot = kNeverStoredSlot + 1;
constexpr int kValueSlotCount = kFirstIndexedSlot + kIndexedEntryCount;

// The slot of an indexed family's entry.
ValueSlot indexedSlot(IndexedEntry entry);

// The indexed family's entry a slot at or after kFirstIndexedSlot holds.
IndexedEntry indexedEntryOf(ValueSlot slot);

// Current value texts by key. Each set operation formats its value once, so
// a row only copies text.
class ValueTable {
 public:
  // Each stores its value's text under key, replacing any earlier text.
  void setInt(ValueKey key, int32_t value) { store(key, formatInteger(value, begin(key))); }
  void setFloat(ValueKey key, float value) {
    storeDecimal(key, formatFloat(value, beginDecimal(key)));
  }
  void setDouble(ValueKey key, double value) {
    storeDecimal(key, formatDouble(value, beginDecimal(key)));
  }
  void setFlag(ValueKey key, bool value) { store(key, formatFlag(value, begin(key))); }
  void setClockText(ValueKey key, int32_t milliseconds) {
    storeDecimal(key, formatClockText(milliseconds, beginDecimal(key)));
  }
  void setIndexed(ValueSlot slot, int32_t value) {
    slots_[slot].length =
        static_cast<uint8_t>(formatInteger(value, slots_[slot].text) - slots_[slot].text);
  }

  // Empties the text under key, or in slot.
  void clear(ValueKey key) { slots_[static_cast<int>(key)].length = 0; }
  void clearSlot(ValueSlot slot) { slots_[slot].length = 0; }

  // Writes every text, those held now and those stored later, for
  // spreadsheets with this decimal mark; the point at first.
  void setDecimalMark(DecimalMark mark);

  // The decimal mark the texts are written for.
  DecimalMark decimalMark() const { return mark_; }

  // The slot a column with this key text reads from.
  static ValueSlot slotFor(std::string_view keyText);

  // The text in slot: empty while nothing was stored there.
  const ValueText& at(ValueSlot slot) const { return slots_[slot]; }

 private:
  char* begin(ValueKey key) { return slots_[static_cast<int>(key)].text; }
  // Keeps the text from the slot's start to end, which holds no decimal point.
  void store(ValueKey key, const char* end) {
    ValueText& slot = slots_[static_cast<int>(key)];
    slot.length = static_cast<uint8_t>(end - slot.text);
  }
  // Where a text that may hold a decimal point is written: for the comma one
  // character in, so that an opening quote fits before it.
  char* beginDecimal(ValueKey key) { return begin(key) + (mark_ == DecimalMark::kComma ? 1 : 0); }
  // Keeps the text written from beginDecimal(key) to end, in the table's
  // decimal mark.
  void storeDecimal(ValueKey key, char* end) {
    if (mark_ == DecimalMark::kPoint) return store(key, end);
    ValueText& slot = slots_[static_cast<int>(key)];
    slot.length = static_cast<uint8_t>(finishDecimalComma(slot.text, end, sizeof slot.text));
  }

  ValueText slots_[kValueSlotCount] = {};
  DecimalMark mark_ = DecimalMark::kPoint;
};

}  // namespace logger

#endif  // LOGGER_LOGGER_VALUE_TABLE_H_
