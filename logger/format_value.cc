#include "logger/format_value.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "logger/character_word.h"
#include "logger/digit_pairs.h"
#include "logger/six_digits.h"

namespace logger {
namespace {

char* copyText(const char* text, char* out) {
  const std::size_t length = std::strlen(text);
  std::memcpy(out, text, length);
  return out + length;
}

// Eight '0' characters as one word.
constexpr uint64_t kZeroCharacters = 0x3030303030303030;

// The word's characters from index from (0 to 7) on, '0's after them.
uint64_t digitsFrom(uint64_t word, int from) {
  return from == 0 ? word : (word >> (8 * from)) | (kZeroCharacters << (64 - 8 * from));
}

// How many of the six digits are left once trailing zeros are dropped; at
// least one, as the first digit is never zero.
int significantDigits(uint64_t word) {
  return lastNonZeroCharacter((word ^ kZeroCharacters) & 0xffffffffffff) + 1;
}

// Writes "d.ddddde+XXX" with significant digits; returns the end.
char* formatExponentForm(uint64_t word, int exponent, int significant, char* out) {
  storeCharacters(word, out);
  out[1] = '.';
  storeCharacters(digitsFrom(word, 1), out + 2);
  // A lone digit has no point.
  out += significant > 1 ? significant + 1 : 1;
  out[0] = 'e';
  out[1] = exponent < 0 ? '-' : '+';
  const unsigned magnitude = static_cast<unsigned>(exponent < 0 ? -exponent : exponent);
  out[2] = static_cast<char>('0' + magnitude / 100);
  writeTwoDigits(magnitude % 100, out + 3);
  return out + 5;
}

// Writes the digits without exponent, exponent -4 to 5, with significant
// digits after any leading zeros; returns the end.
char* formatPlainForm(uint64_t word, int exponent, int significant, char* out) {
  if (exponent < 0) {
    std::memcpy(out, "0.000", 5);  // "0." and the zeros before the first digit
    char* first = out + 1 - exponent;
    storeCharacters(word, first);
    return first + significant;
  }
  const int integerDigits = exponent + 1;
  storeCharacters(word, out);
  if (significant <= integerDigits) return out + integerDigits;
  out[integerDigits] = '.';
  storeCharacters(digitsFrom(word, integerDigits), out + integerDigits + 1);
  return out + significant + 1;
}

// Writes the six digits in word (two '0's after them) with their decimal
// exponent in the form %g chooses; returns the end.
char* formatSixDigits(uint64_t word, int exponent, char* out) {
  const int significant = significantDigits(word);
  if (exponent < -4 || exponent >= 6) return formatExponentForm(word, exponent, significant, out);
  return formatPlainForm(word, exponent, significant, out);
}

// formatDouble for every value, the slow way included.
char* formatAnyDouble(double value, char* out) {
  if (std::isnan(value)) return copyText("nan", out);
  if (std::signbit(value)) {
    *out++ = '-';
    value = -value;
  }
  if (std::isinf(value)) return copyText("inf", out);
  if (value == 0) {
    *out++ = '0';
    return out;
  }
  const SixDigits six = roundToSixDigits(value);
  return formatSixDigits(loadCharacters(six.digits), six.exponent, out);
}

// Clock text field by field as zero-filled streams write it, which for a
// negative time puts the fill before the sign.
char* formatClockTextOfAnySign(int32_t milliseconds, char* out) {
  out = formatZeroFilled(milliseconds / 3600000, 2, out);
  *out++ = ':';
  out = formatZeroFilled((milliseconds / 60000) % 60, 2, out);
  *out++ = ':';
  out = formatZeroFilled((milliseconds / 1000) % 60, 2, out);
  *out++ = '.';
  return formatZeroFilled(milliseconds % 1000, 3, out);
}

}  // namespace

char* formatInteger(int32_t value, char* out) {
  return std::to_chars(out, out + kValueTextCapacity, value).ptr;
}

char* formatDouble(double value, char* out) {
  // The frame's path: a normal value that scaling rounds, as nearly all are.
  // The magnitude by negation, not through the value's bits: on 32-bit x86
  // those would be stored as two halves and read back whole, which stalls.
  const bool negative = std::signbit(value);
  uint32_t six;
  int exponent;
  if (roundToSixDigitsByScaling(negative ? -value : value, &six, &exponent) != Scaling::kRounded) {
    return formatAnyDouble(value, out);
  }
  if (negative) *out++ = '-';
  return formatSixDigits(sixDigitCharacters(six), exponent, out);
}

char* formatFlag(bool value, char* out) { return copyText(value ? "true" : "false", out); }

char* formatZeroFilled(int32_t value, int width, char* out) {
  char digits[16];
  const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  const int length = static_cast<int>(end - digits);
  for (int fill = length; fill < width; ++fill) *out++ = '0';
  std::memcpy(out, digits, static_cast<std::size_t>(length));
  return out + length;
}

char* formatClockText(int32_t milliseconds, char* out) {
  if (milliseconds < 0) return formatClockTextOfAnySign(milliseconds, out);
  const int32_t hours = milliseconds / 3600000;
  if (hours < 100) {
    writeTwoDigits(static_cast<unsigned>(hours), out);
    out += 2;
  } else {
    out = formatInteger(hours, out);
  }
  const unsigned rest = static_cast<unsigned>(milliseconds % 3600000);
  out[0] = ':';
  writeTwoDigits(rest / 60000, out + 1);
  out[3] = ':';
  writeTwoDigits(rest / 1000 % 60, out + 4);
  out[6] = '.';
  out[7] = static_cast<char>('0' + rest % 1000 / 100);
  writeTwoDigits(rest % 100, out + 8);
  return out + 10;
}

}  // namespace logger
