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

struct Family {
  std::string_view text;
  int size;
};

constexpr Family kFamilies[] = {
#define LOGGER_FAMILY(name, text, size) {text, size},
    LOGGER_INDEXED_KEYS(LOGGER_FAMILY)
#undef LOGGER_FAMILY
};

// The first slot of each family, and past the last one.
struct FamilyStarts {
  ValueSlot at[kIndexedKeyCount + 1];
};
constexpr FamilyStarts familyStarts() {
  FamilyStarts starts{};
  starts.at[0] = kFirstIndexedSlot;
  for (int family = 0; family < kIndexedKeyCount; ++family) {
    starts.at[family + 1] = static_cast<ValueSlot>(starts.at[family] + kFamilies[family].size);
  }
  return starts;
}
constexpr FamilyStarts kFamilyStarts = familyStarts();
static_assert(kFamilyStarts.at[kIndexedKeyCount] == kValueSlotCount, "one slot per entry");

// True when every text is non-empty and no two are the same, so that a
// column's key names at most one value, and an empty key none.
constexpr bool textsAreDistinctWords() {
  for (std::size_t at = 0; at < std::size(kKeyTexts); ++at) {
    if (kKeyTexts[at].empty()) return false;
    for (std::size_t other = 0; other < at; ++other) {
      if (kKeyTexts[other] == kKeyTexts[at]) return false;
    }
    // No key looks like an entry of a family.
    for (const Family& family : kFamilies) {
      if (kKeyTexts[at].substr(0, family.text.size()) == family.text) return false;
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

std::string_view familyText(IndexedKey family) { return kFamilies[static_cast<int>(family)].text; }

int familySize(IndexedKey family) { return kFamilies[static_cast<int>(family)].size; }

std::optional<IndexedEntry> findIndexedEntry(std::string_view text) {
  for (int family = 0; family < kIndexedKeyCount; ++family) {
    const Family& candidate = kFamilies[family];
    if (text.substr(0, candidate.text.size()) != candidate.text) continue;
    const std::string_view digits = text.substr(candidate.text.size());
    if (digits.empty() || digits.size() > 5 || (digits[0] == '0' && digits.size() > 1)) break;
    int index = 0;
    for (const char c : digits) {
      if (c < '0' || c > '9') return std::nullopt;
      index = index * 10 + (c - '0');
    }
    if (index >= candidate.size) break;
    return IndexedEntry{static_cast<IndexedKey>(family), static_cast<uint16_t>(index)};
  }
  return std::nullopt;
}

ValueSlot indexedSlot(IndexedEntry entry) {
  return static_cast<ValueSlot>(kFamilyStarts.at[static_cast<int>(entry.family)] + entry.index);
}

IndexedEntry indexedEntryOf(ValueSlot slot) {
  int family = 0;
  while (slot >= kFamilyStarts.at[family + 1]) ++family;
  return IndexedEntry{static_cast<IndexedKey>(family),
                      static_cast<uint16_t>(slot - kFamilyStarts.at[family])};
}

ValueSlot ValueTable::slotFor(std::string_view keyText) {
  if (const std::optional<ValueKey> key = findValueKey(keyText))
    return static_cast<ValueSlot>(*key);
  if (const std::optional<IndexedEntry> entry = findIndexedEntry(keyText)) {
    return indexedSlot(*entry);
  }
  return kNeverStoredSlot;
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
