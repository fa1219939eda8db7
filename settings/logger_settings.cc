#include "settings/logger_settings.h"

#include "platform/platform.h"

namespace settings {

LoggerSettings::LoggerSettings(const std::string& path) { loadSettings(path); }

bool LoggerSettings::loadSettings(const std::string& path) {
  const std::string& file = path.empty() ? defaultPath_ : path;
  if (!platform::fileExists(file)) return false;
  interval_ = platform::readProfileInt(file, kSection, kIntervalKey, interval_);
  decimalComma_ = platform::readProfileInt(file, kLogSection, kDecimalCommaKey, decimalComma_);
  return true;
}

}  // namespace settings
