// Rewrites a log in the other format: decimal-comma (";" after every field,
// "," in numbers, fields holding "," quoted) or decimal-point, as the module
// writes it.
#ifndef LOGGER_TOOLS_LOGTOOL_LOG_CONVERT_H_
#define LOGGER_TOOLS_LOGTOOL_LOG_CONVERT_H_

#include <string>
#include <string_view>

#include "tools/logtool/log_text.h"

namespace logtool {

// The converted log's name beside the input: "Log_X.csv" becomes
// "Log_X.decimal-comma.csv" (or ".decimal-point.csv"), an earlier such
// suffix replaced.
std::string convertedPath(const std::string& input, DecimalMark to);

// One field written for a log of format to: a decimal-comma value gets ','
// for '.' and quotes when it then holds ','; a decimal-comma title gets
// quotes when it holds ';' or '"', its quotes doubled.
std::string encodeField(std::string_view field, DecimalMark to, bool title);

// Writes the log at input in format to into output; returns the rows
// written. Throws InputError for bad input, a log already in that format, or
// a title that format cannot hold; std::runtime_error when output cannot be
// written. Output is replaced only by a whole conversion: on any failure it
// stays as it was.
long convertLog(const std::string& input, DecimalMark to, const std::string& output);

}  // namespace logtool

#endif  // LOGGER_TOOLS_LOGTOOL_LOG_CONVERT_H_
