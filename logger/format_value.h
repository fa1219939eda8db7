// Number text: every value the log holds is turned into text here, the same
// bytes on every platform and in every locale.
#ifndef LOGGER_LOGGER_FORMAT_VALUE_H_
#define LOGGER_LOGGER_FORMAT_VALUE_H_

#include <cstddef>
#include <cstdint>

namespace logger {

// Room for the longest text any function below writes, such as
// "-1.23457e+308", "-2147483648" or the clock text "-596:-31:-23.-648".
constexpr std::size_t kValueTextCapacity = 30;

// Writes value as a signed decimal ("-1", "0", "36000000"); returns the end.
char* formatInteger(int32_t value, char* out);

// Writes value with six significant digits as printf's %g does, rounded in
// two steps (17 digits, then 6, a tie rounding up), with a three-digit
// exponent: "12.5", "0.333333", "123457", "1e+006", "1e-005". Infinities and
// NaN give "inf", "-inf" and "nan". Returns the end. out must have room for
// kValueTextCapacity characters; those after the end may be overwritten.
char* formatDouble(double value, char* out);

// Writes value widened to double precision, as formatDouble.
inline char* formatFloat(float value, char* out) { return formatDouble(value, out); }

// Writes "true" or "false"; returns the end.
char* formatFlag(bool value, char* out);

// Writes value as a decimal filled with zeros on the left to at least width
// characters, as a zero-filled stream writes it ("05", and "0-5" for -5 at
// width 3); returns the end.
char* formatZeroFilled(int32_t value, int width, char* out);

// Writes a simulation time in milliseconds as clock text, hours not reduced
// modulo 24: 3723004 gives "01:02:03.004", 90000000 gives "25:00:00.000".
// Returns the end.
char* formatClockText(int32_t milliseconds, char* out);

}  // namespace logger

#endif  // LOGGER_LOGGER_FORMAT_VALUE_H_
