// The values a scenario file writes: whole numbers, decimal numbers and
// times. Each parse takes the whole word or fails.
#ifndef LOGGER_TOOLS_SIMHOST_SCENARIO_VALUES_H_
#define LOGGER_TOOLS_SIMHOST_SCENARIO_VALUES_H_

#include <cstdint>
#include <string_view>

namespace simhost {

// A signed 32-bit decimal integer such as -1 or 12; false otherwise.
bool parseWholeNumber(std::string_view word, int32_t* value);

// A finite decimal number with "." as its point, such as 490 or -12.5;
// false otherwise.
bool parseDecimal(std::string_view word, double* value);

// A time of at most 596 hours written as seconds, m:ss or h:mm:ss, the
// seconds with up to three decimals (90, 1:30.25, 7:30:00), in milliseconds;
// false otherwise.
bool parseTime(std::string_view word, int32_t* milliseconds);

}  // namespace simhost

#endif  // LOGGER_TOOLS_SIMHOST_SCENARIO_VALUES_H_
