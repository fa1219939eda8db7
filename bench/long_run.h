// The long run: many logged rows through Elapse, each call timed on its own,
// then Dispose, each logger in a fresh child process so that its memory
// figures are its own.
#ifndef LOGGER_BENCH_LONG_RUN_H_
#define LOGGER_BENCH_LONG_RUN_H_

#include <cstdint>
#include <string>

namespace bench {

// What one long run cost.
struct LongRunFigures {
  bool measured;                // false when the child failed
  double meanCallNs;            // single Elapse calls, page faults of the growing log included
  int64_t medianCallNs;         // single Elapse calls, timed one by one
  int64_t p999CallNs;           // 99.9th percentile
  int64_t worstCallNs;          // the longest single Elapse
  int64_t worstUnpreemptedNs;   // the longest single Elapse with no context switch in it
  uint64_t callsOver100us;      // single Elapse calls of 100 µs or more
  double disposeSeconds;        // Dispose, from call to return
  uint64_t logBytes;            // the size of the log written
  uint64_t startResidentBytes;  // resident memory before the first frame
  uint64_t peakResidentBytes;   // the process's peak resident memory
  long preemptions;             // involuntary context switches during the frames
  long pageFaults;              // the calling thread's page faults during the frames
};

// The module at builtModule logging rows rows at frame interval 1.
LongRunFigures measureModuleRun(const std::string& builtModule, int32_t rows);

// The reference logging rows rows at frame interval 1.
LongRunFigures measureReferenceRun(int32_t rows);

// Only copying rowBytes bytes per row into fresh memory for rows rows, each
// copy timed as Elapse is: what keeping the log in memory costs at the least,
// page faults and this machine's interruptions included.
LongRunFigures measureCopyFloorRun(int32_t rows, uint64_t rowBytes);

// Only spinning for spinNs nanoseconds per call for rows calls, touching no
// memory, each call timed as Elapse is: the stalls this machine puts into any
// code that runs that long.
LongRunFigures measureSpinFloorRun(int32_t rows, int64_t spinNs);

// Only what the module does when a chunk of the log is full, count times,
// each timed on its own: reserving the next mebibyte of a file on the disk,
// mapping it shared and unmapping the one before.
LongRunFigures measureChunkSwitchFloorRun(int32_t count);

// Only the first write to each page of count fresh mebibyte chunks of a file
// mapped shared, as the module maps them, each write timed on its own.
LongRunFigures measurePageTouchFloorRun(int32_t count);

// Seconds to write bytes bytes, held in memory already, into a new file with
// plain write calls of 1 MiB: what writing a log costs at the least.
double measureWriteFloorSeconds(uint64_t bytes);

}  // namespace bench

#endif  // LOGGER_BENCH_LONG_RUN_H_
