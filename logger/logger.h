// The Logger: everything a logging run holds, for the module's lifetime.
// Its members are defined in run.cc (startRun, endRun: Load and Dispose) and
// frame_sampling.cc (logging a frame: Elapse).
#ifndef LOGGER_LOGGER_LOGGER_H_
#define LOGGER_LOGGER_LOGGER_H_

#include <cstdint>
#include <string>
#include <vector>

#include "logger/columns.h"
#include "logger/frame_counter.h"
#include "logger/log_buffer.h"
#include "logger/value_table.h"
#include "records/host_records.h"

namespace logger {

// What a frame hands the Logger besides the vehicle's state: the handles a
// chained plug-in returned (nullptr when none is chained) and the host's
// arrays, one per indexed family (PANEL_n, SOUND_n), each nullptr or 256
// entries, read only.
struct FrameInputs {
  const Handles* commanded;
  const int32_t* arrays[kIndexedKeyCount];
};

class Logger {
 public:
  Logger() = default;
  Logger(const Logger&) = delete;
  Logger& operator=(const Logger&) = delete;

  // Finishes a run still open, as endRun does.
  ~Logger();

  // Starts a fresh run for the module at modulePath: a run still open is
  // finished first, and the logs of crashed runs in the module's directory
  // are finished; then the frame interval from the settings files, the
  // columns and header row from the column file, the log's name from the
  // local time now, and its in-progress file. The current values, the frame
  // counter and the previous logged time and speed carry over.
  void startRun(const std::string& modulePath);

  // Finishes the run's log in the module's directory, once: a run already
  // finished, or none started, writes nothing.
  void endRun();

  // Counts a frame and, on every frame-interval-th one, stores the vehicle's
  // values with the acceleration and clock text, the commanded handles (or
  // empties them) and the array entries the columns ask for, and appends a
  // row. Frames before the first run are not sampled at all. Inline, so that
  // a frame that is not logged costs the host no further call.
  void sampleFrame(const VehicleState& state, const FrameInputs& inputs) {
    if (frames_.countFrame()) logFrame(state, inputs);
  }

  // The current values, which the host's events overwrite.
  ValueTable& values() { return values_; }

 private:
  void logFrame(const VehicleState& state, const FrameInputs& inputs);
  void storeFrameInputs(const FrameInputs& inputs);
  void appendRowUnlessOutOfMemory();
  void startLogFile(const std::string& directory);
  void finishLogFile();
  void writeLog() const;

  FrameCounter frames_;
  int32_t previousTime_ = 0;
  float previousSpeed_ = 0.0f;
  std::string logStem_;      // the log's path without ".csv"; empty when it cannot be named
  std::string runningPath_;  // the in-progress file's path, while the log is written into it
  LogBuffer log_;
  ValueTable values_;
  ColumnList columns_;
  // An indexed family's entry a column reads, with the value whose text its
  // slot holds, so that an entry that did not change is not written again.
  struct IndexedColumn {
    ValueSlot slot;
    IndexedEntry entry;
    int32_t value;
    bool held;  // the slot holds value's text
  };
  std::vector<IndexedColumn> indexedColumns_;  // each entry the columns read, once
  Handles commanded_{0, 0, 0, 0};              // the handles whose texts the PLUGIN_ keys hold
  bool commandedHeld_ = false;                 // the PLUGIN_ keys hold commanded_
  int64_t runProcess_ = 0;                     // the process that started the run
  bool runOpen_ = false;                       // a run started and its log not yet written
  bool logging_ = false;  // rows are appended: the run is open and memory lasted
};

}  // namespace logger

#endif  // LOGGER_LOGGER_LOGGER_H_
