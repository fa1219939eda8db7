// The results table: every figure of the module beside the reference's from
// the same run, their ratio, and the target it is held to.
#ifndef LOGGER_BENCH_SUMMARY_TABLE_H_
#define LOGGER_BENCH_SUMMARY_TABLE_H_

#include <map>
#include <string>

#include "bench/long_run.h"

namespace bench {

// Median nanoseconds per call, by benchmark name ("elapse_logged/module").
using PerCallMedians = std::map<std::string, double>;

// Everything one bench run measured.
struct BenchResults {
  PerCallMedians medians;
  int32_t rows;  // logged rows of the long runs
  LongRunFigures module;
  LongRunFigures reference;
  LongRunFigures copyFloor;         // only the rows' bytes copied into fresh memory
  LongRunFigures spinFloor;         // only spinning as long as the module's median call
  LongRunFigures chunkSwitchFloor;  // only reserving, mapping and unmapping chunks
  LongRunFigures pageTouchFloor;    // only the first write to each page of mapped chunks
  double writeFloorSeconds;         // plain writes of the module's log size
};

// Prints the table as Markdown, then whether every target was met.
void printSummary(const BenchResults& results);

}  // namespace bench

#endif  // LOGGER_BENCH_SUMMARY_TABLE_H_
