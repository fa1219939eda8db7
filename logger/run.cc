// Run start and end: preparing a run at Load and writing its log at Dispose.
#include "logger/log_file.h"
#include "logger/logger.h"
#include "logger/run_files.h"
#include "platform/platform.h"
#include "settings/logger_settings.h"

namespace logger {
namespace {

// How many numbered names a log tries before it gives up, when files of its
// name exist already.
constexpr int kMaxLogNameAttempts = 1000;

}  // namespace

void Logger::startRun(const std::string& modulePath) {
  runOpen_ = logging_ = false;
  log_.clear();
  columns_.clear();
  logStem_.clear();
  const RunFiles files = deriveRunFiles(modulePath);
  settings::LoggerSettings settings;
  if (!files.settingsPath.empty()) settings.loadSettings(files.settingsPath);
  platform::LocalTime now;
  if (!files.directory.empty() && platform::currentLocalTime(&now)) {
    logStem_ = composeLogStem(files.directory, now);
  }
  frames_.setInterval(settings.interval());
  decimalMark_ = settings.decimalComma() ? DecimalMark::kComma : DecimalMark::kPoint;
  values_.setDecimalMark(decimalMark_);
  readColumns(files.columnsPath, decimalMark_, &columns_, &log_);
  runOpen_ = logging_ = true;
}

void Logger::endRun() {
  if (!runOpen_) return;
  if (!logStem_.empty()) writeLog();
  runOpen_ = logging_ = false;
  log_.clear();
}

void Logger::writeLog() const {
  for (int attempt = 1; attempt <= kMaxLogNameAttempts; ++attempt) {
    platform::FileHandle file;
    const platform::CreateResult created =
        platform::createNewFile(logPathForAttempt(logStem_, attempt), &file);
    if (created == platform::CreateResult::kAlreadyExists) continue;
    if (created == platform::CreateResult::kFailed) return;
    writeLogFile(log_, file);
    return;
  }
}

}  // namespace logger
