#include "logger/run_files.h"

#include <cstring>

#include "logger/format_value.h"
#include "platform/ascii_case.h"

namespace logger {
namespace {

bool endsWithIgnoringCase(std::string_view text, std::string_view ending) {
  return text.size() >= ending.size() &&
         platform::equalIgnoringAsciiCase(text.substr(text.size() - ending.size()), ending);
}

void appendTwoDigits(int value, std::string* text) {
  char digits[kValueTextCapacity];
  text->append(digits, formatZeroFilled(value, 2, digits));
}

}  // namespace

RunFiles deriveRunFiles(const std::string& modulePath) {
  RunFiles files;
  if (modulePath.empty()) return files;
  files.directory = platform::removeLastPathComponent(modulePath);
  const char* extension = platform::moduleExtension();
  if (endsWithIgnoringCase(modulePath, extension)) {
    const std::string base = modulePath.substr(0, modulePath.size() - std::strlen(extension));
    files.settingsPath = base + ".ini";
    files.columnsPath = base + ".csv";
  }
  return files;
}

std::string composeLogStem(const std::string& directory, const platform::LocalTime& time) {
  std::string stem = directory;
  stem += platform::pathSeparator();
  stem += "Log_";
  appendTwoDigits(time.yearsSince1900 % 100, &stem);
  appendTwoDigits(time.month, &stem);
  appendTwoDigits(time.day, &stem);
  stem += '-';
  appendTwoDigits(time.hour, &stem);
  appendTwoDigits(time.minute, &stem);
  appendTwoDigits(time.second, &stem);
  return stem;
}

std::string logPathForAttempt(const std::string& stem, int attempt) {
  if (attempt <= 1) return stem + ".csv";
  return stem + "_" + std::to_string(attempt) + ".csv";
}

}  // namespace logger
