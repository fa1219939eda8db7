// Run start and end: preparing a run at Load and writing its log at Dispose.
#include <algorithm>

#include "logger/log_file.h"
#include "logger/logger.h"
#include "logger/run_files.h"
#include "logger/running_log.h"
#include "platform/platform.h"
#include "settings/logger_settings.h"

namespace logger {

Logger::~Logger() {
  try {
    endRun();
  } catch (...) {
  }
}

void Logger::startRun(const std::string& modulePath) {
  endRun();
  runOpen_ = logging_ = false;
  log_.clear();
  columns_.clear();
  indexedColumns_.clear();
  logStem_.clear();
  runningPath_.clear();
  const RunFiles files = deriveRunFiles(modulePath);
  settings::LoggerSettings settings;
  if (!files.settingsPath.empty()) settings.loadSettings(files.settingsPath);
  if (!files.directory.empty()) recoverRunningLogs(files.directory);
  platform::LocalTime now;
  if (!files.directory.empty() && platform::currentLocalTime(&now)) {
    logStem_ = composeLogStem(files.directory, now);
    startLogFile(files.directory);
  }
  frames_.setInterval(settings.interval());
  values_.setDecimalMark(settings.decimalComma() ? DecimalMark::kComma : DecimalMark::kPoint);
  try {
    readColumns(files.columnsPath, values_.decimalMark(), &columns_, &log_);
  } catch (...) {
    // The run does not start: its in-progress file goes with it.
    if (log_.hasFile()) {
      platform::FileHandle file = log_.releaseFile();
      platform::removeOpenFile(&file, runningPath_);
    }
    log_.clear();
    runningPath_.clear();
    throw;
  }
  for (const ValueSlot slot : columns_) {
    if (slot < kFirstIndexedSlot) continue;
    const auto sameSlot = [slot](const IndexedColumn& column) { return column.slot == slot; };
    if (std::none_of(indexedColumns_.begin(), indexedColumns_.end(), sameSlot)) {
      values_.clearSlot(slot);
      indexedColumns_.push_back(IndexedColumn{slot, indexedEntryOf(slot), 0, false});
    }
  }
  runProcess_ = platform::currentProcessId();
  runOpen_ = logging_ = true;
}

void Logger::endRun() {
  if (!runOpen_) return;
  if (runProcess_ != platform::currentProcessId()) {
    // A child that the host forked during the run: the run, its file and its
    // views are the parent's, which goes on writing them; the copies here are
    // let go untouched.
    log_.disown();
  } else if (log_.hasFile()) {
    finishLogFile();
  } else if (!logStem_.empty()) {
    writeLog();
  }
  runOpen_ = logging_ = false;
  log_.clear();
}

void Logger::startLogFile(const std::string& directory) {
  const std::string logName = logStem_.substr(logStem_.rfind(platform::pathSeparator()) + 1);
  platform::FileHandle file;
  std::string path;
  if (!createRunningLog(directory, logName, &file, &path)) return;
  if (log_.mapInto(&file)) {
    runningPath_ = path;
    return;
  }
  // No mapping: the run goes on in memory and its log is written at its end.
  platform::removeOpenFile(&file, path);
}

void Logger::finishLogFile() {
  // The file holds the log's first part, or all of it; a part that was
  // gathered in memory after a chunk could not be mapped follows it.
  platform::FileHandle file = log_.releaseFile();
  writeLogFile(log_, file);
  nameFinishedLog(&file, runningPath_, logStem_);
}

void Logger::writeLog() const {
  platform::FileHandle file;
  const bool created = takeFirstFreeName([&](int attempt) {
    return platform::createNewFile(logPathForAttempt(logStem_, attempt), &file);
  });
  if (created) writeLogFile(log_, file);
}

}  // namespace logger
