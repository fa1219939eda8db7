#include "logger/six_digits.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "logger/character_word.h"
#include "logger/digit_pairs.h"

namespace logger {
namespace {

// 10^0 to 10^22: every one exact in a double.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kLargestExactPower = 22;

// How far value * 10^k, rounded once, may lie from the exact product when it
// is below 10^6, with room to spare: 10^6 * 2^-53 is about 1.1e-10.
constexpr double kScalingError = 1e-9;

// floor(log10(2^binaryLog)), with log10(2) taken as 78913 / 2^18; for a value
// from 2^binaryLog to 2^(binaryLog + 1) it is the value's decimal exponent or
// one less. An estimate one too high is caught by the range check below.
int decimalExponentEstimate(int binaryLog) {
  return binaryLog >= 0 ? (binaryLog * 78913) >> 18 : -((-binaryLog * 78913 + (1 << 18) - 1) >> 18);
}

// value * 10^power rounded once to double; false where 10^|power| is not exact.
bool scaleByPowerOfTen(double value, int power, double* scaled) {
  if (power > kLargestExactPower || power < -kLargestExactPower) return false;
  *scaled = power >= 0 ? value * kExactPowersOfTen[power] : value / kExactPowersOfTen[-power];
  return true;
}

// The six digits as an integer from 10^5 to 10^6 - 1 and the decimal
// exponent, from the value scaled in double arithmetic to six digits before
// the point. The two-step rule rounds up exactly when the exact scaled
// value's fraction is at least 0.5 - 0.5e-11 (the seventeen-digit rounding
// lifts nothing smaller to 0.5). Where the scaled value's rounding error
// could decide that, or the scale is out of the exact powers' reach, this
// gives up: false.
bool roundByScaling(double positive, uint32_t* six, int* exponent) {
  uint64_t bits;
  std::memcpy(&bits, &positive, sizeof bits);
  const int biasedExponent = static_cast<int>(bits >> 52);
  if (biasedExponent == 0) return false;  // subnormal
  int decimalExponent = decimalExponentEstimate(biasedExponent - 1023);
  double scaled;
  if (!scaleByPowerOfTen(positive, 5 - decimalExponent, &scaled)) return false;
  if (scaled >= 1e6) {
    ++decimalExponent;
    if (!scaleByPowerOfTen(positive, 5 - decimalExponent, &scaled)) return false;
  }
  if (scaled < 1e5 || scaled >= 1e6) return false;
  const uint32_t whole = static_cast<uint32_t>(scaled);
  const double fraction = scaled - whole;
  if (std::fabs(fraction - 0.5) <= kScalingError) return false;
  *six = whole + (fraction > 0.5 ? 1 : 0);
  *exponent = decimalExponent;
  return true;
}

// The two characters of value, 0 to 99, as the low bytes of a word.
uint64_t digitPair(unsigned value) { return loadTwoCharacters(kDigitPairs + 2 * value); }

}  // namespace

SixDigits roundToSixDigits(double positive) {
  uint32_t six;
  int exponent;
  if (!roundByScaling(positive, &six, &exponent)) return roundToSixDigitsThroughText(positive);
  if (six == 1000000) {
    six = 100000;
    ++exponent;
  }
  // The three digit pairs gathered in a register, then copied out at once:
  // written pair by pair, they would be read back as a word through memory.
  const uint64_t word = digitPair(six / 10000) | digitPair(six / 100 % 100) << 16 |
                        digitPair(six % 100) << 32 | digitPair(0) << 48;
  SixDigits result;
  storeCharacters(word, result.digits);
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
