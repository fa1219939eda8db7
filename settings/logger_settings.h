// The log's settings, read from INI settings files: the shared "./Ats.ini"
// in the host's current directory first, then the module's own INI file.
// Each setting a later file holds replaces the earlier one.
#ifndef LOGGER_SETTINGS_LOGGER_SETTINGS_H_
#define LOGGER_SETTINGS_LOGGER_SETTINGS_H_

#include <cstdint>
#include <string>

namespace settings {

// The section and key that hold the frame interval; the key is passed to
// the profile read with its trailing blanks, which the read ignores.
constexpr const char* kSection = "Frame";
constexpr const char* kIntervalKey = "Skip             ";

// Frames per logged row when no settings file gives one.
constexpr int32_t kDefaultInterval = 60;

// The section and key that say whether the log is written for spreadsheets
// that read "," as the decimal mark: 0 (the default) for the point, any
// other integer for the comma.
constexpr const char* kLogSection = "Log";
constexpr const char* kDecimalCommaKey = "DecimalComma";

class LoggerSettings {
 public:
  // Starts at the default interval and reads the file at path, or the shared
  // "./Ats.ini" when path is empty.
  explicit LoggerSettings(const std::string& path = std::string());

  // Reads the settings from the file at path (the shared file when empty) if
  // the file exists; a missing section or key keeps the value held.
  // Returns whether the file exists.
  bool loadSettings(const std::string& path);

  // Frames per logged row, as read; may be 0 or negative.
  int32_t interval() const { return interval_; }

  // True when the log is to be written for comma-decimal spreadsheets.
  bool decimalComma() const { return decimalComma_ != 0; }

 private:
  std::string defaultPath_ = "./Ats.ini";
  int32_t interval_ = kDefaultInterval;
  int32_t decimalComma_ = 0;
};

}  // namespace settings

#endif  // LOGGER_SETTINGS_LOGGER_SETTINGS_H_
