// One pass over a log: the summary from every row, and for the report the
// charts' points, decimated, and the run's events (signal changes, beacons,
// doors).
#ifndef LOGGER_TOOLS_LOGTOOL_RUN_SCAN_H_
#define LOGGER_TOOLS_LOGTOOL_RUN_SCAN_H_

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/logtool/chart_series.h"
#include "tools/logtool/column_keys.h"
#include "tools/logtool/log_text.h"
#include "tools/logtool/run_summary.h"
#include "tools/logtool/ui_text.h"

namespace logtool {

// One line of a chart: a series of the points, from a column of the log.
struct ChartLine {
  std::string label;
  std::size_t column;
  std::size_t series;  // its values: points.series[series]
  bool step;           // drawn as steps (handles, aspects)
  bool rightAxis;      // on the chart's second y axis
};

// One chart of the report.
struct ChartSpec {
  std::string id;
  std::string title;
  std::vector<ChartLine> lines;
};

// Something that happened at one row: "signal", "beacon" or "doors".
struct RunEvent {
  double time;
  double location;
  std::string kind;
  std::string text;
};

struct ScannedRun {
  std::string logPath;
  DecimalMark mark = DecimalMark::kPoint;
  unsigned codePage = 0;  // the titles' in the log
  Language language = Language::kEnglish;
  std::vector<std::string> titles;  // as UTF-8
  ColumnKeys keys;
  RunSummary summary;
  std::string timeTitle;    // the column the time comes from; empty: row numbers
  bool inProgress = false;  // stopped at a zero-filled tail
  bool tornRowLeftOut = false;
  // For the report only:
  ChartPoints points;              // only the columns the charts draw
  long numericColumnsLeftOut = 0;  // numeric columns of no known key beyond the charted ones
  std::size_t rowsPerBucket = 1;
  std::vector<ChartSpec> charts;
  std::vector<RunEvent> events;
  long eventsLeftOut = 0;
};

// Columns without a known key that the report charts at most (the first ones
// holding numbers); the rest are named on the page as left out. With it the
// charts' data stays within about kBucketLimit * (known keys + this) * 32 B
// (under 5 MB) however many columns the log has.
constexpr std::size_t kOtherColumnsCharted = 24;

struct ScanOptions {
  std::string columnFile;                  // --columns; empty: look beside the log
  unsigned codePage = 0;                   // --encoding; 0: guessed
  Language language = Language::kEnglish;  // --lang
  bool charts = false;                     // gather the points and events too
  // When not empty: chart only the columns of these keys, and gather no events.
  std::vector<ColumnKey> chartKeys;
  std::size_t bucketLimit = 2500;
  // Called now and then with the bytes read and the file's size.
  std::function<void(std::uint64_t, std::uint64_t)> progress;
};

// Reads the whole log at path; throws InputError for bad input.
ScannedRun scanRun(const std::string& path, const ScanOptions& options);

// The points of the column holding key, if it is charted; else null.
const std::vector<double>* chartedSeries(const ScannedRun& run, ColumnKey key);

// The notes a summary or report starts with: the format, an in-progress
// log, how the columns were found.
std::vector<std::string> scanNotes(const ScannedRun& run);

}  // namespace logtool

#endif  // LOGGER_TOOLS_LOGTOOL_RUN_SCAN_H_
