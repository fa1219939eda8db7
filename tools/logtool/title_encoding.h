// The encoding of a log's titles, which the log does not name: UTF-8 after
// the mark or when valid as UTF-8, else the ANSI code page of the machine
// that wrote it, guessed.
#ifndef LOGGER_TOOLS_LOGTOOL_TITLE_ENCODING_H_
#define LOGGER_TOOLS_LOGTOOL_TITLE_ENCODING_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace logtool {

// The code page an --encoding name gives ("utf-8", "cp932", "cp1252", any
// letter case); none for another name.
std::optional<unsigned> codePageNamed(std::string_view name);

// The name of a code page, as --encoding takes it.
std::string codePageName(unsigned codePage);

// The titles' code page: UTF-8 when the log starts with the mark or every
// title is UTF-8; else systemCodePage when there is one (not 0); else 932
// when every title is valid in it, else 1252.
unsigned guessTitleCodePage(bool utf8Marked, const std::vector<std::string>& titles,
                            unsigned systemCodePage);

// Each title in codePage as UTF-8.
std::vector<std::string> titlesAsUtf8(const std::vector<std::string>& titles, unsigned codePage);

}  // namespace logtool

#endif  // LOGGER_TOOLS_LOGTOOL_TITLE_ENCODING_H_
