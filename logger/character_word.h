// Eight characters of text held as one 64-bit word, so that digits can be
// shifted, tested and copied out whole instead of byte by byte.
#ifndef LOGGER_LOGGER_CHARACTER_WORD_H_
#define LOGGER_LOGGER_CHARACTER_WORD_H_

#include <cstdint>
#include <cstring>

namespace logger {

// The one byte-order assumption of the number text: a word's first
// character is its lowest byte, so shifting right drops leading characters.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "a word of characters holds its first character in its lowest byte");

// The eight characters at text as one word.
inline uint64_t loadCharacters(const char* text) {
  uint64_t word;
  std::memcpy(&word, text, sizeof word);
  return word;
}

// The two characters at text as the low bytes of a word.
inline uint64_t loadTwoCharacters(const char* text) {
  uint16_t pair;
  std::memcpy(&pair, text, sizeof pair);
  return pair;
}

// Writes the word's eight characters at out.
inline void storeCharacters(uint64_t word, char* out) { std::memcpy(out, &word, sizeof word); }

// The index, 0 to 7, of the last character of word that is not a NUL byte;
// word must not be 0.
inline int lastNonZeroCharacter(uint64_t word) {
#if defined(__GNUC__)
  return (63 - __builtin_clzll(word)) / 8;
#else
  int index = 0;
  while (word >>= 8) ++index;
  return index;
#endif
}

}  // namespace logger

#endif  // LOGGER_LOGGER_CHARACTER_WORD_H_
