#include "tools/logtool/chart_series.h"

#include <cmath>

namespace logtool {
namespace {

// Keeps the smaller (or larger, by sign) of two extremes; the earlier on a tie.
template <typename Better, typename Extreme>
void keep(Better better, const Extreme& candidate, Extreme* kept) {
  if (candidate.row < 0) return;
  if (kept->row < 0 || better(candidate.value, kept->value)) *kept = candidate;
}

}  // namespace

ChartDecimator::ChartDecimator(std::size_t seriesCount, std::size_t bucketLimit)
    : seriesCount_(seriesCount), bucketLimit_(bucketLimit < 2 ? 2 : bucketLimit) {
  buckets_.reserve(bucketLimit_);
  extremes_.reserve(bucketLimit_ * seriesCount_ * 2);
}

void ChartDecimator::add(double time, double location, const double* values) {
  if (buckets_.empty() || buckets_.back().rows == width_) {
    if (buckets_.size() == bucketLimit_) mergeNeighbours();
    buckets_.push_back(Bucket{time, location, time, location, 0});
    extremes_.resize(extremes_.size() + seriesCount_ * 2, Extreme{NAN, -1});
  }
  Bucket& bucket = buckets_.back();
  bucket.lastTime = time;
  bucket.lastLocation = location;
  ++bucket.rows;
  Extreme* low = minima(buckets_.size() - 1);
  Extreme* high = low + seriesCount_;
  for (std::size_t i = 0; i < seriesCount_; ++i) {
    if (std::isnan(values[i])) continue;
    const Extreme here{values[i], row_};
    keep([](double a, double b) { return a < b; }, here, &low[i]);
    keep([](double a, double b) { return a > b; }, here, &high[i]);
  }
  ++row_;
}

void ChartDecimator::mergeNeighbours() {
  const std::size_t merged = buckets_.size() / 2;
  for (std::size_t to = 0; to < merged; ++to) {
    const Bucket& first = buckets_[2 * to];
    const Bucket& second = buckets_[2 * to + 1];
    buckets_[to] = Bucket{first.firstTime, first.firstLocation, second.lastTime,
                          second.lastLocation, first.rows + second.rows};
    Extreme* low = minima(to);
    const Extreme* firstLow = minima(2 * to);
    const Extreme* secondLow = minima(2 * to + 1);
    for (std::size_t i = 0; i < seriesCount_; ++i) {
      Extreme lowest = firstLow[i];
      Extreme highest = firstLow[seriesCount_ + i];
      keep([](double a, double b) { return a < b; }, secondLow[i], &lowest);
      keep([](double a, double b) { return a > b; }, secondLow[seriesCount_ + i], &highest);
      low[i] = lowest;
      low[seriesCount_ + i] = highest;
    }
  }
  buckets_.resize(merged);
  extremes_.resize(merged * seriesCount_ * 2);
  width_ *= 2;
}

ChartPoints ChartDecimator::points() const {
  ChartPoints points;
  points.series.resize(seriesCount_);
  for (std::size_t b = 0; b < buckets_.size(); ++b) {
    const Bucket& bucket = buckets_[b];
    const Extreme* low = extremes_.data() + b * seriesCount_ * 2;
    const Extreme* high = low + seriesCount_;
    const bool twoPoints = bucket.rows > 1;
    points.time.push_back(bucket.firstTime);
    points.location.push_back(bucket.firstLocation);
    if (twoPoints) {
      points.time.push_back(bucket.lastTime);
      points.location.push_back(bucket.lastLocation);
    }
    for (std::size_t i = 0; i < seriesCount_; ++i) {
      const bool lowFirst = low[i].row <= high[i].row;
      points.series[i].push_back(lowFirst ? low[i].value : high[i].value);
      if (twoPoints) points.series[i].push_back(lowFirst ? high[i].value : low[i].value);
    }
  }
  return points;
}

}  // namespace logtool
