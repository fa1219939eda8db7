#include "logger/six_digits.h"

#include <charconv>
#include <cstring>

namespace logger {

SixDigits roundToSixDigits(double positive) {
  uint32_t six;
  int exponent;
  if (!roundToSixDigitsByScaling(positive, &six, &exponent)) {
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
