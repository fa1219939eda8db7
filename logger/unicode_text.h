// Unicode text as the column file and the log carry it: UTF-16 brought to
// UTF-8, and the check that tells UTF-8 from text in an ANSI code page.
#ifndef LOGGER_LOGGER_UNICODE_TEXT_H_
#define LOGGER_LOGGER_UNICODE_TEXT_H_

#include <string>
#include <string_view>

namespace logger {

// The byte-order mark of UTF-8 text.
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The UTF-16 code units in bytes (two a unit, in the byte order given) as
// UTF-8. A surrogate without its partner becomes U+FFFD; a last odd byte,
// half a unit, is left out.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian);

// True when text is well-formed UTF-8: no stray continuation byte, no
// overlong form, no surrogate, nothing above U+10FFFF.
bool isUtf8(std::string_view text);

// True when text holds a byte outside ASCII.
bool holdsNonAscii(std::string_view text);

}  // namespace logger

#endif  // LOGGER_LOGGER_UNICODE_TEXT_H_
