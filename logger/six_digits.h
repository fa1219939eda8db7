// Six significant digits of a number, rounded as the log's number text
// rounds them: first to 17 significant digits, to nearest, then to 6, a
// seventh digit of 5 or more rounding up.
#ifndef LOGGER_LOGGER_SIX_DIGITS_H_
#define LOGGER_LOGGER_SIX_DIGITS_H_

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

}  // namespace logger

#endif  // LOGGER_LOGGER_SIX_DIGITS_H_
