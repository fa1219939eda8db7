// What logtool takes from the system for text: its converters from the
// Windows code pages that titles are written in to UTF-8 (iconv, or
// MultiByteToWideChar on Windows), and the user's language.
#ifndef LOGGER_TOOLS_LOGTOOL_SYSTEM_TEXT_H_
#define LOGGER_TOOLS_LOGTOOL_SYSTEM_TEXT_H_

#include <string>
#include <string_view>

namespace logtool {

// The code pages logtool names, by Windows' numbers.
constexpr unsigned kUtf8CodePage = 65001;
constexpr unsigned kJapaneseCodePage = 932;
constexpr unsigned kWesternCodePage = 1252;

// text in codePage as UTF-8 into *utf8; false when text is not valid in that
// code page or it cannot be converted, and then *utf8 holds what could be,
// each byte that could not as U+FFFD.
bool codePageToUtf8(std::string_view text, unsigned codePage, std::string* utf8);

// The system's ANSI code page (Windows), or 0 on a system that has none.
unsigned systemAnsiCodePage();

// The user's language as its two-letter code ("ja", "en", ...): Windows' UI
// language, elsewhere the first set of LC_ALL, LC_MESSAGES and LANG; empty
// when none is known.
std::string userLanguage();

}  // namespace logtool

#endif  // LOGGER_TOOLS_LOGTOOL_SYSTEM_TEXT_H_
