// The charts' data in bounded memory however long the log: rows gathered into
// buckets of consecutive rows, each keeping every series' minimum and maximum;
// when the buckets run out, neighbours merge and each bucket holds twice the
// rows.
#ifndef LOGGER_TOOLS_LOGTOOL_CHART_SERIES_H_
#define LOGGER_TOOLS_LOGTOOL_CHART_SERIES_H_

#include <cstddef>
#include <vector>

namespace logtool {

// The points the charts draw: two x axes (time and location) shared by all
// series; NaN where a series has no value.
struct ChartPoints {
  std::vector<double> time;
  std::vector<double> location;
  std::vector<std::vector<double>> series;
};

class ChartDecimator {
 public:
  // Gathers seriesCount series into at most about 2 * bucketLimit points.
  ChartDecimator(std::size_t seriesCount, std::size_t bucketLimit);

  // Takes one row: its time, location and one value per series (NaN: none).
  void add(double time, double location, const double* values);

  // The points: one per bucket while each holds one row, else two per
  // bucket at its first and last row's x, the bucket's minimum and maximum
  // in the order they came.
  ChartPoints points() const;

  // How many rows each bucket holds now.
  std::size_t rowsPerBucket() const { return width_; }

 private:
  struct Extreme {
    double value;
    long long row;  // -1 when the bucket holds no value
  };
  struct Bucket {
    double firstTime, firstLocation, lastTime, lastLocation;
    std::size_t rows;
  };
  void mergeNeighbours();
  Extreme* minima(std::size_t bucket) { return extremes_.data() + bucket * seriesCount_ * 2; }

  std::size_t seriesCount_;
  std::size_t bucketLimit_;
  std::size_t width_ = 1;
  long long row_ = 0;
  std::vector<Bucket> buckets_;
  std::vector<Extreme> extremes_;  // per bucket: the minima, then the maxima
};

}  // namespace logtool

#endif  // LOGGER_TOOLS_LOGTOOL_CHART_SERIES_H_
