// Fuzzes the INI reader on arbitrary text: a missing entry yields exactly
// the default given, names match regardless of case and surrounding blanks,
// and reading the text from a file gives what reading the text gives.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/ini_text.h"
#include "platform/platform.h"
#include "settings/logger_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const int32_t read = platform::findIniInt(text, settings::kSection, settings::kIntervalKey, 60);
  const int32_t otherDefault =
      platform::findIniInt(text, settings::kSection, settings::kIntervalKey, 61);
  if (read != otherDefault && !(read == 60 && otherDefault == 61)) {
    fuzzing::fail("a missing entry yields the default given", std::to_string(read),
                  std::to_string(otherDefault));
  }
  const int32_t otherNames = platform::findIniInt(text, " fRAME\t", "sKIP", 60);
  fuzzing::expectEqual("names match regardless of case and blanks", std::to_string(read),
                       std::to_string(otherNames));
  const std::string path = fuzzing::scratchDirectory() + "/Logger.ini";
  fuzzing::writeBytes(path, text);
  const int32_t fromFile =
      platform::readProfileInt(path, settings::kSection, settings::kIntervalKey, 60);
  fuzzing::expectEqual("the file reads as its text", std::to_string(read),
                       std::to_string(fromFile));
  return 0;
}
