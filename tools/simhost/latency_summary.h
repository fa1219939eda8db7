// What --timing reports of the time each Elapse call took.
#ifndef LOGGER_TOOLS_SIMHOST_LATENCY_SUMMARY_H_
#define LOGGER_TOOLS_SIMHOST_LATENCY_SUMMARY_H_

#include <cstdint>
#include <vector>

namespace simhost {

struct LatencySummary {
  int64_t median = 0;         // nanoseconds
  int64_t percentile999 = 0;  // nanoseconds: 99.9 % of the calls took no longer
  int64_t maximum = 0;        // nanoseconds
};

// The median, 99.9th percentile and maximum of nanoseconds, each the
// smallest value that at least that share of the calls did not exceed;
// all 0 when there are none.
LatencySummary summarizeLatencies(std::vector<int64_t> nanoseconds);

}  // namespace simhost

#endif  // LOGGER_TOOLS_SIMHOST_LATENCY_SUMMARY_H_
