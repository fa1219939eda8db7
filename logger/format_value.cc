#include "logger/format_value.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace logger {
namespace {

char* copyText(const char* text, char* out) {
  const std::size_t length = std::strlen(text);
  std::memcpy(out, text, length);
  return out + length;
}

// The six significant digits of a positive finite value and its decimal
// exponent, rounded first to 17 digits and then to 6, a tie rounding up.
struct SixDigits {
  char digits[6];
  int exponent;
};

SixDigits roundToSixDigits(double positive) {
  // "d.dddddddddddddddde+XXX": 17 significant digits, correctly rounded.
  char scientific[32];
  const std::to_chars_result written = std::to_chars(
      scientific, scientific + sizeof scientific, positive, std::chars_format::scientific, 16);
  SixDigits result;
  result.digits[0] = scientific[0];
  std::memcpy(result.digits + 1, scientific + 2, 5);
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

char* formatExponentForm(const SixDigits& six, int significant, char* out) {
  *out++ = six.digits[0];
  if (significant > 1) {
    *out++ = '.';
    std::memcpy(out, six.digits + 1, static_cast<std::size_t>(significant - 1));
    out += significant - 1;
  }
  *out++ = 'e';
  *out++ = six.exponent < 0 ? '-' : '+';
  const int magnitude = six.exponent < 0 ? -six.exponent : six.exponent;
  return formatZeroFilled(magnitude, 3, out);
}

char* formatPlainForm(const SixDigits& six, int significant, char* out) {
  if (six.exponent < 0) {
    *out++ = '0';
    *out++ = '.';
    for (int zero = 1; zero < -six.exponent; ++zero) *out++ = '0';
    std::memcpy(out, six.digits, static_cast<std::size_t>(significant));
    return out + significant;
  }
  const int integerDigits = six.exponent + 1;
  for (int at = 0; at < integerDigits; ++at) *out++ = at < significant ? six.digits[at] : '0';
  if (significant > integerDigits) {
    *out++ = '.';
    std::memcpy(out, six.digits + integerDigits, static_cast<std::size_t>(significant - integerDigits));
    out += significant - integerDigits;
  }
  return out;
}

}  // namespace

char* formatInteger(int32_t value, char* out) {
  return std::to_chars(out, out + kValueTextCapacity, value).ptr;
}

char* formatDouble(double value, char* out) {
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
  int significant = 6;
  while (significant > 1 && six.digits[significant - 1] == '0') --significant;
  if (six.exponent < -4 || six.exponent >= 6) return formatExponentForm(six, significant, out);
  return formatPlainForm(six, significant, out);
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
  out = formatZeroFilled(milliseconds / 3600000, 2, out);
  *out++ = ':';
  out = formatZeroFilled((milliseconds / 60000) % 60, 2, out);
  *out++ = ':';
  out = formatZeroFilled((milliseconds / 1000) % 60, 2, out);
  *out++ = '.';
  return formatZeroFilled(milliseconds % 1000, 3, out);
}

}  // namespace logger
