#include "tools/simhost/latency_summary.h"

#include <algorithm>

namespace simhost {
namespace {

// The value at perThousand of sorted, by nearest rank.
int64_t atShare(const std::vector<int64_t>& sorted, int64_t perThousand) {
  const int64_t count = static_cast<int64_t>(sorted.size());
  const int64_t rank = (count * perThousand + 999) / 1000;  // 1-based, rounded up
  return sorted[static_cast<std::size_t>(std::max<int64_t>(rank, 1) - 1)];
}

}  // namespace

LatencySummary summarizeLatencies(std::vector<int64_t> nanoseconds) {
  LatencySummary summary;
  if (nanoseconds.empty()) return summary;
  std::sort(nanoseconds.begin(), nanoseconds.end());
  summary.median = atShare(nanoseconds, 500);
  summary.percentile999 = atShare(nanoseconds, 999);
  summary.maximum = nanoseconds.back();
  return summary;
}

}  // namespace simhost
