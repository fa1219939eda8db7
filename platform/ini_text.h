// The INI look-up of one integer or text, done on the file's text, for platforms
// that have no profile functions of their own.
#ifndef LOGGER_PLATFORM_INI_TEXT_H_
#define LOGGER_PLATFORM_INI_TEXT_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The integer under key in section of the INI text, or defaultValue when the
// section, the key or a value is missing. Lines end at LF, CR or both; blanks
// include byte 26. Section and key names match without regard to case and to
// blanks around them; the first matching section and, within it, the first
// matching key count. A name or a value ends at a NUL. Text with a UTF-16
// byte-order mark is read as UTF-16. The value's leading decimal digits, after
// an optional sign, form the number ("12abc" is 12, "abc" is 0); digits beyond
// 32 bits wrap around as the Windows profile read does.
int32_t findIniInt(std::string_view text, std::string_view section, std::string_view key,
                   int32_t defaultValue);

// The integer findIniInt finds in the whole text of the file at path, or
// defaultValue when the file cannot be read.
int32_t readIniFileInt(const std::string& path, std::string_view section, std::string_view key,
                       int32_t defaultValue);

// The text under key in section of the INI text, found as findIniInt finds a
// value, with quotes matching at both ends taken off; empty when missing.
std::string findIniString(std::string_view text, std::string_view section, std::string_view key);

// The text findIniString finds in the whole text of the file at path, or
// empty when the file cannot be read.
std::string readIniFileString(const std::string& path, std::string_view section,
                              std::string_view key);

}  // namespace platform

#endif  // LOGGER_PLATFORM_INI_TEXT_H_
