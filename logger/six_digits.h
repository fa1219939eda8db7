// Six significant digits of a number, rounded as the log's number text
// rounds them: first to 17 significant digits, to nearest, then to 6, a
// seventh digit of 5 or more rounding up.
#ifndef LOGGER_LOGGER_SIX_DIGITS_H_
#define LOGGER_LOGGER_SIX_DIGITS_H_

#include <cstdint>
#include <cstring>

#include "logger/character_word.h"
#include "logger/digit_pairs.h"

namespace logger {

// The digits d0 d1 ... d5 and the decimal exponent of the value
// d0.d1...d5e+exponent. Two '0's follow the digits, so that all eight
// characters can be moved as one word.
struct SixDigits {
  char digits[8];
  int exponent;
};

// The six digits of a positive finite value.
SixDigits roundToSixDigits(double positive);

// The same through the 17-digit text std::to_chars writes: the rule in its
// plainest form, which roundToSixDigits falls back on where its integer
// arithmetic does not reach.
SixDigits roundToSixDigitsThroughText(double positive);

// What scaling made of a value's six digits.
enum class Scaling {
  kRounded,    // the digits and the exponent are found
  kNearTie,    // only the exponent: the digits need roundNearTieExactly
  kOutOfReach  // neither: zero, subnormal, not finite, or beyond the exact powers of ten
};

// The quick way, inline for the frame's path: the six digits of a positive
// value as an integer from 10^5 to 10^6 - 1 and its decimal exponent,
// reached by scaling in double arithmetic, where its rounding error cannot
// tip them.
inline Scaling roundToSixDigitsByScaling(double positive, uint32_t* six, int* exponent);

// The characters of six, from 10^5 to 10^6 - 1, as a word, first digit in
// the lowest byte, two '0's after them.
inline uint64_t sixDigitCharacters(uint32_t six) {
  const auto pair = [](uint32_t value) { return loadTwoCharacters(kDigitPairs + 2 * value); };
  return pair(six / 10000) | pair(six / 100 % 100) << 16 | pair(six % 100) << 32 |
         uint64_t{0x3030} << 48;
}

namespace six_digits_internal {

// 10^0 to 10^22: every one exact in a double.
inline constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                               1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                               1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kLargestExactPower = 22;

// value * 10^power, rounded once; |power| at most kLargestExactPower.
inline double scaleByPowerOfTen(double value, int power) {
  return power >= 0 ? value * kExactPowersOfTen[power] : value / kExactPowersOfTen[-power];
}

// The scaled value below 10^6 is read in fixed point with 32 bits after the
// point: added to 2^20, its double's significand holds exactly that. The
// fixed-point fraction then lies within 2^-33 of the scaled value's, which
// itself lies within about 1.1e-10 (10^6 * 2^-53) of the exact product's.
constexpr double kFixedPointOffset = 1048576.0;  // 2^20
constexpr uint32_t kHalf = uint32_t{1} << 31;
// How near one half, in units of 2^-32, a fraction may come before those
// errors could decide the rounding: 5 units are about 1.2e-9.
constexpr uint32_t kHalfBand = 5;

// Six digits rounded up to 10^6 are 10^5 with the exponent one higher.
inline void carryIntoExponent(uint32_t* six, int* exponent) {
  if (*six == 1000000) {
    *six = 100000;
    ++*exponent;
  }
}

}  // namespace six_digits_internal

// For a value whose product with 10^(5 - exponent), the power from 0 to 19,
// lies from 10^5 to 10^6 and near a tie: the six digits as
// roundToSixDigitsByScaling gives them, decided exactly in 64-bit integers.
// False where the product does not fit them: they hold a widened float's
// up to 10^12, a double's with all 53 bits up to 10^3 (values from 100).
bool roundNearTieExactly(double positive, uint32_t* six, int* exponent);

inline Scaling roundToSixDigitsByScaling(double positive, uint32_t* six, int* exponent) {
  using namespace six_digits_internal;
  uint64_t bits;
  std::memcpy(&bits, &positive, sizeof bits);
  const int binaryLog = static_cast<int>(bits >> 52) - 1023;
  // floor(binaryLog * log10(2)), with log10(2) taken as 78913 / 2^18 (and a
  // negative product shifted arithmetically, as every compiler here does):
  // for a value from 2^binaryLog to 2^(binaryLog + 1) the value's decimal
  // exponent or one less. Zero and subnormals (binaryLog -1023), infinities
  // and NaN (1024) end up beyond the exact powers.
  int decimalExponent = (binaryLog * 78913) >> 18;
  const int power = 5 - decimalExponent;
  if (power > kLargestExactPower || power <= -kLargestExactPower) return Scaling::kOutOfReach;
  double scaled = scaleByPowerOfTen(positive, power);
  if (scaled >= 1e6) {
    ++decimalExponent;
    scaled = scaleByPowerOfTen(positive, power - 1);
  }
  if (!(scaled >= 1e5 && scaled < 1e6)) return Scaling::kOutOfReach;
  *exponent = decimalExponent;
  // The two-step rule rounds up exactly when the exact scaled value's
  // fraction is at least 0.5 - 0.5e-11 (the seventeen-digit rounding lifts
  // nothing smaller to 0.5).
  uint64_t fixedPoint;
  const double offset = scaled + kFixedPointOffset;
  std::memcpy(&fixedPoint, &offset, sizeof fixedPoint);
  const uint32_t fraction = static_cast<uint32_t>(fixedPoint);
  if (fraction - (kHalf - kHalfBand) <= 2 * kHalfBand) return Scaling::kNearTie;
  *six = (static_cast<uint32_t>(fixedPoint >> 32) & 0xfffff) + (fraction > kHalf ? 1 : 0);
  carryIntoExponent(six, exponent);
  return Scaling::kRounded;
}

}  // namespace logger

#endif  // LOGGER_LOGGER_SIX_DIGITS_H_
