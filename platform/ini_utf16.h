// INI files saved as UTF-16, brought to the bytes the INI reader compares.
#ifndef LOGGER_PLATFORM_INI_UTF16_H_
#define LOGGER_PLATFORM_INI_UTF16_H_

#include <string>
#include <string_view>

namespace platform {

// When text starts with a UTF-16 byte-order mark (either byte order), sets
// *bytes to the text after it, one byte a code unit: a unit below 0x80 as that
// byte, any other as 0x80, which no section, key or value syntax uses. A last
// odd byte counts as a unit, as if a zero byte followed it. False, leaving
// *bytes alone, when text has no such mark.
bool decodeUtf16Ini(std::string_view text, std::string* bytes);

}  // namespace platform

#endif  // LOGGER_PLATFORM_INI_UTF16_H_
