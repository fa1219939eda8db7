#include "logger/value_table.h"

#include <iterator>

namespace logger {
namespace {

constexpr std::string_view kKeyTexts[] = {
#define LOGGER_KEY_TEXT(name, text) text,
    LOGGER_VALUE_KEYS(LOGGER_KEY_TEXT)
#undef LOGGER_KEY_TEXT
};
static_assert(std::size(kKeyTexts) == kValueKeyCount, "one text per key");

// True when every text is non-empty and no two are the same, so that a
// column's key names at most one value, and an empty key none.
constexpr bool textsAreDistinctWords() {
  for (std::size_t at = 0; at < std::size(kKeyTexts); ++at) {
    if (kKeyTexts[at].empty()) return false;
    for (std::size_t other = 0; other < at; ++other) {
      if (kKeyTexts[other] == kKeyTexts[at]) return false;
    }
  }
  return true;
}
static_assert(textsAreDistinctWords(), "key texts are non-empty and distinct");

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

void ValueTable::setDecimalMark(DecimalMark mark) {
  if (mark == mark_) return;
  mark_ = mark;
  for (ValueText& slot : slots_) {
    const std::size_t length = mark == DecimalMark::kComma ? toDecimalComma(slot.text, slot.length)
                                                           : toDecimalPoint(slot.text, slot.length);
    slot.length = static_cast<uint8_t>(length);
  }
}

}  // namespace logger
