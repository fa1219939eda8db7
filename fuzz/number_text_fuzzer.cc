// Fuzzes number text: every double (the input's first 8 bytes) and every
// float (its first 4) must come out as printf's "%.6g" writes it, with a
// three-digit exponent, except where rounding in two steps (17 digits, then
// 6) differs from rounding once; and never longer than the room for a value.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "fuzz/fuzz_support.h"
#include "logger/format_value.h"

namespace {

// printf's "%.6g" of value, its exponent padded to three digits.
std::string printfText(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.6g", value);
  std::string result = text;
  const std::size_t exponent = result.find('e');
  if (exponent != std::string::npos && result.size() - exponent == 4) {
    result.insert(exponent + 2, "0");
  }
  return result;
}

// Whether value's 17 significant digits end in a tie at the seventh digit,
// "5" and ten zeros, where the two roundings may part.
bool tiesAtTheSeventhDigit(double value) {
  char digits[64];
  std::snprintf(digits, sizeof digits, "%.16e", std::fabs(value));
  return std::strncmp(digits + 7, "50000000000e", 12) == 0;
}

void checkNumberText(double value) {
  char out[logger::kValueTextCapacity + 16];
  const char* end = logger::formatDouble(value, out);
  const std::string text(out, static_cast<std::size_t>(end - out));
  if (text.size() > logger::kValueTextCapacity) {
    fuzzing::fail("the text fits the room for a value", "at most 31 characters", text);
  }
  if (std::isnan(value)) {
    fuzzing::expectEqual("NaN is written as nan", "nan", text);
    return;
  }
  if (!tiesAtTheSeventhDigit(value)) fuzzing::expectEqual("%.6g", printfText(value), text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size >= sizeof(double)) {
    double value;
    std::memcpy(&value, data, sizeof value);
    checkNumberText(value);
  }
  if (size >= sizeof(float)) {
    float value;
    std::memcpy(&value, data, sizeof value);
    checkNumberText(value);
  }
  return 0;
}
