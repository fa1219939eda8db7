// Call durations gathered in fixed 10 ns buckets: percentiles of a million
// calls without holding a million numbers.
#ifndef LOGGER_BENCH_LATENCY_HISTOGRAM_H_
#define LOGGER_BENCH_LATENCY_HISTOGRAM_H_

#include <algorithm>
#include <cstdint>
#include <vector>

namespace bench {

class LatencyHistogram {
 public:
  // Width of a bucket, and the duration from which on calls share one last bucket.
  static constexpr int64_t kBucketNs = 10;
  static constexpr int64_t kRangeNs = 200000;

  LatencyHistogram() : counts_(kRangeNs / kBucketNs + 1, 0) {}

  // Counts one call that took nanoseconds.
  void record(int64_t nanoseconds) {
    const int64_t bucket = std::min(std::max<int64_t>(nanoseconds, 0), kRangeNs) / kBucketNs;
    ++counts_[static_cast<std::size_t>(bucket)];
    ++total_;
    sumNs_ += nanoseconds;
    worst_ = std::max(worst_, nanoseconds);
  }

  // The upper edge of the bucket that holds the fraction-th call in order of
  // duration (0.5 for the median); the worst call's duration when it lies
  // beyond the buckets.
  int64_t percentile(double fraction) const {
    const uint64_t rank = static_cast<uint64_t>(fraction * static_cast<double>(total_));
    uint64_t seen = 0;
    for (std::size_t bucket = 0; bucket + 1 < counts_.size(); ++bucket) {
      seen += counts_[bucket];
      if (seen > rank) return static_cast<int64_t>(bucket + 1) * kBucketNs;
    }
    return worst_;
  }

  // How many calls took nanoseconds or longer, a whole number of buckets.
  uint64_t countAtLeast(int64_t nanoseconds) const {
    uint64_t longer = 0;
    for (std::size_t bucket = static_cast<std::size_t>(nanoseconds / kBucketNs);
         bucket < counts_.size(); ++bucket) {
      longer += counts_[bucket];
    }
    return longer;
  }

  // The mean duration of a call.
  double mean() const {
    return total_ ? static_cast<double>(sumNs_) / static_cast<double>(total_) : 0;
  }

  // The longest call.
  int64_t worst() const { return worst_; }

 private:
  std::vector<uint32_t> counts_;
  uint64_t total_ = 0;
  int64_t worst_ = 0;
  int64_t sumNs_ = 0;
};

}  // namespace bench

#endif  // LOGGER_BENCH_LATENCY_HISTOGRAM_H_
