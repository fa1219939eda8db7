// The text of a log row: its two formats (decimal point with "," after every
// field, decimal comma with ";" and quoted fields), and the value texts the
// module writes into fields: numbers, true/false and clock text.
#ifndef LOGGER_TOOLS_LOGTOOL_LOG_TEXT_H_
#define LOGGER_TOOLS_LOGTOOL_LOG_TEXT_H_

#include <string>
#include <string_view>
#include <vector>

#include "logger/decimal_mark.h"

namespace logtool {

// The module's two formats, and the separator after each field in them.
using logger::DecimalMark;
using logger::fieldSeparator;

// The format name used in messages and options: "decimal-point" or "decimal-comma".
const char* formatName(DecimalMark mark);

// The format of a log from its title row (line break removed): a row ending in
// ';' is decimal-comma, any other decimal-point.
DecimalMark detectDecimalMark(std::string_view titleRow);

// Splits row (line break removed) into its fields, each followed by the
// separator, and writes them decoded into *text, each followed by the
// separator: quotes removed and, when values is true in a decimal-comma log,
// every ',' made a '.'. *ends gets the offset of each field's separator in
// *text. False with *error when the row does not split: a field without its
// separator, a quote left open.
bool splitRow(std::string_view row, DecimalMark mark, bool values, std::string* text,
              std::vector<std::size_t>* ends, std::string* error);

// What a field holds.
enum class ValueKind { kEmpty, kNumber, kBoolean, kClock, kOther };

// The kind of value text, by its characters alone (a cheap check).
ValueKind classifyValue(std::string_view value);

// Reads a number as the module writes it ("12.5", "-1.23457e+006", "nan");
// false for any other text.
bool parseNumber(std::string_view text, double* value);

// Reads clock text "HH:MM:SS.mmm" (hours may pass 24 and have more digits)
// as seconds; false for any other text.
bool parseClock(std::string_view text, double* seconds);

// Writes seconds as clock text "HH:MM:SS.mmm", hours not reduced modulo 24.
std::string formatClock(double seconds);

}  // namespace logtool

#endif  // LOGGER_TOOLS_LOGTOOL_LOG_TEXT_H_
