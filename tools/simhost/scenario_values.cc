#include "tools/simhost/scenario_values.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace simhost {
namespace {

// A run of 1 to 9 decimal digits and nothing else, as a number.
bool parseDigits(std::string_view word, int64_t* value) {
  if (word.empty() || word.size() > 9) return false;
  *value = 0;
  for (char c : word) {
    if (c < '0' || c > '9') return false;
    *value = *value * 10 + (c - '0');
  }
  return true;
}

// Seconds with up to three decimals, in milliseconds.
bool parseSeconds(std::string_view word, int64_t* milliseconds) {
  const std::size_t point = word.find('.');
  int64_t whole = 0;
  if (!parseDigits(word.substr(0, point), &whole)) return false;
  int64_t fraction = 0;
  if (point != std::string_view::npos) {
    const std::string_view decimals = word.substr(point + 1);
    if (decimals.size() > 3 || !parseDigits(decimals, &fraction)) return false;
    for (std::size_t digits = decimals.size(); digits < 3; ++digits) fraction *= 10;
  }
  *milliseconds = whole * 1000 + fraction;
  return true;
}

}  // namespace

bool parseWholeNumber(std::string_view word, int32_t* value) {
  if (!word.empty() && word.front() == '+') word.remove_prefix(1);
  const char* end = word.data() + word.size();
  const auto [stop, error] = std::from_chars(word.data(), end, *value);
  return !word.empty() && error == std::errc() && stop == end;
}

bool parseDecimal(std::string_view word, double* value) {
  if (!word.empty() && word.front() == '+') word.remove_prefix(1);
  const char* end = word.data() + word.size();
  const auto [stop, error] = std::from_chars(word.data(), end, *value, std::chars_format::fixed);
  return !word.empty() && error == std::errc() && stop == end && std::isfinite(*value);
}

bool parseTime(std::string_view word, int32_t* milliseconds) {
  const std::size_t firstColon = word.find(':');
  const std::size_t lastColon = word.rfind(':');
  int64_t hours = 0;
  int64_t minutes = 0;
  int64_t seconds = 0;
  if (!parseSeconds(word.substr(lastColon == std::string_view::npos ? 0 : lastColon + 1),
                    &seconds)) {
    return false;
  }
  if (firstColon != std::string_view::npos) {
    // Every part after the first counts up to 59.
    if (seconds >= 60000) return false;
    const std::string_view leading = word.substr(0, lastColon);
    const std::size_t colon = leading.find(':');
    if (colon == std::string_view::npos) {
      if (!parseDigits(leading, &minutes)) return false;
    } else {
      const std::string_view minuteText = leading.substr(colon + 1);
      if (!parseDigits(leading.substr(0, colon), &hours) || minuteText.size() != 2 ||
          !parseDigits(minuteText, &minutes) || minutes >= 60) {
        return false;
      }
    }
  }
  const int64_t total = ((hours * 60 + minutes) * 60) * 1000 + seconds;
  if (total > std::numeric_limits<int32_t>::max()) return false;
  *milliseconds = static_cast<int32_t>(total);
  return true;
}

}  // namespace simhost
