// Two decimal digits at a time, from a table: the fast way numbers of the
// log's text are written.
#ifndef LOGGER_LOGGER_DIGIT_PAIRS_H_
#define LOGGER_LOGGER_DIGIT_PAIRS_H_

#include <cstring>

namespace logger {

// "00", "01", ... "99", one after another.
inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes value, 0 to 99, as two digits at out.
inline void writeTwoDigits(unsigned value, char* out) {
  std::memcpy(out, kDigitPairs + 2 * value, 2);
}

}  // namespace logger

#endif  // LOGGER_LOGGER_DIGIT_PAIRS_H_
