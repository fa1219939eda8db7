#include "logger/six_digits.h"

#include <charconv>
#include <cstdint>
#include <cstring>

namespace logger {
namespace {

// 10^0 to 10^19, all that fit 64 bits.
struct IntegerPowersOfTen {
  constexpr IntegerPowersOfTen() : of() {
    uint64_t power = 1;
    for (uint64_t& entry : of) {
      entry = power;
      power *= 10;
    }
  }
  uint64_t of[20];
};
constexpr IntegerPowersOfTen kIntegerPowersOfTen;
constexpr int kLargestIntegerPower = 19;

// The number of zero bits below the lowest one bit of value, not zero.
int trailingZeroBits(uint64_t value) {
#if defined(__GNUC__)
  return __builtin_ctzll(value);
#else
  int count = 0;
  while (!(value & 1)) {
    value >>= 1;
    ++count;
  }
  return count;
#endif
}

}  // namespace

bool roundNearTieExactly(double positive, uint32_t* six, int* exponent) {
  const int power = 5 - *exponent;
  if (power < 0 || power > kLargestIntegerPower) return false;
  uint64_t bits;
  std::memcpy(&bits, &positive, sizeof bits);
  // positive is significand / 2^shift exactly, the significand odd.
  constexpr uint64_t kImplicitBit = uint64_t{1} << 52;
  uint64_t significand = (bits & (kImplicitBit - 1)) | kImplicitBit;
  int shift = 1075 - static_cast<int>(bits >> 52);
  const int zeros = trailingZeroBits(significand);
  significand >>= zeros;
  shift -= zeros;
  // A whole product has no fraction near a half; a finer one does not fit.
  if (shift <= 0 || shift > 62) return false;
  const uint64_t powerOfTen = kIntegerPowersOfTen.of[power];
  if (significand > UINT64_MAX / powerOfTen) return false;
  const uint64_t product = significand * powerOfTen;  // the scaled value times 2^shift
  const uint64_t one = uint64_t{1} << shift;
  const uint64_t twiceFraction = 2 * (product & (one - 1));
  // With six digits before the point, the seventeen-digit rounding keeps 11
  // after it: it lifts a fraction to one half from 1/2 - 1/(2 * 10^11) on,
  // which no binary fraction equals. In units of 2^-(shift + 1): from
  // one - one / 10^11 on.
  const bool up = twiceFraction >= one || one - twiceFraction <= one / 100000000000u;
  *six = static_cast<uint32_t>(product >> shift) + (up ? 1 : 0);
  six_digits_internal::carryIntoExponent(six, exponent);
  return true;
}

SixDigits roundToSixDigits(double positive) {
  uint32_t six;
  int exponent;
  const Scaling scaling = roundToSixDigitsByScaling(positive, &six, &exponent);
  if (scaling == Scaling::kOutOfReach ||
      (scaling == Scaling::kNearTie && !roundNearTieExactly(positive, &six, &exponent))) {
    return roundToSixDigitsThroughText(positive);
  }
  SixDigits result;
  storeCharacters(sixDigitCharacters(six), result.digits);
  result.exponent = exponent;
  return result;
}

SixDigits roundToSixDigitsThroughText(double positive) {
  // "d.dddddddddddddddde+XXX": 17 significant digits, correctly rounded.
  char scientific[32];
  const std::to_chars_result written = std::to_chars(scientific, scientific + sizeof scientific,
                                                     positive, std::chars_format::scientific, 16);
  SixDigits result;
  result.digits[0] = scientific[0];
  std::memcpy(result.digits + 1, scientific + 2, 5);
  result.digits[6] = result.digits[7] = '0';
  const char* exponentText = scientific + 19;  // the sign after "d.", 16 digits and "e"
  if (*exponentText == '+') ++exponentText;
  std::from_chars(exponentText, written.ptr, result.exponent);
  if (scientific[7] >= '5') {
    int at = 5;
    while (at >= 0 && result.digits[at] == '9') result.digits[at--] = '0';
    if (at >= 0) {
      ++result.digits[at];
    } else {
      result.digits[0] = '1';
      ++result.exponent;
    }
  }
  return result;
}

}  // namespace logger
