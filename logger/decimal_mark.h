// The two ways the log writes its fields: for spreadsheets that read "." as
// the decimal point, and for those that read "," (most of Europe's).
#ifndef LOGGER_LOGGER_DECIMAL_MARK_H_
#define LOGGER_LOGGER_DECIMAL_MARK_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace logger {

enum class DecimalMark : unsigned char {
  kPoint,  // "12.5", fields ended by ","
  kComma,  // "\"12,5\"", fields ended by ";"
};

// The character written after every title and every value.
constexpr char fieldSeparator(DecimalMark mark) { return mark == DecimalMark::kComma ? ';' : ','; }

// Rewrites the value text of length bytes at text for a comma-decimal
// spreadsheet: each "." becomes ",", and a text that then holds a "," is
// enclosed in double quotes. Returns the new length, at most length + 2;
// text must have room for it.
std::size_t toDecimalComma(char* text, std::size_t length);

// Undoes toDecimalComma: drops enclosing double quotes and turns each ","
// back into "."; returns the new length.
std::size_t toDecimalPoint(char* text, std::size_t length);

// The title as the header row holds it: unchanged for the point; for the
// comma enclosed in double quotes, each doubled, when it holds ";" or '"'.
std::string titleField(std::string_view title, DecimalMark mark);

}  // namespace logger

#endif  // LOGGER_LOGGER_DECIMAL_MARK_H_
