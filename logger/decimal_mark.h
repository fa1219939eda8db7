// The two ways the log writes its fields: for spreadsheets that read "." as
// the decimal point, and for those that read "," (most of Europe's).
#ifndef LOGGER_LOGGER_DECIMAL_MARK_H_
#define LOGGER_LOGGER_DECIMAL_MARK_H_

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace logger {

enum class DecimalMark : unsigned char {
  kPoint,  // "12.5", fields ended by ","
  kComma,  // "\"12,5\"", fields ended by ";"
};

// The character written after every title and every value.
constexpr char fieldSeparator(DecimalMark mark) { return mark == DecimalMark::kComma ? ';' : ','; }

// Finishes a value text for a comma-decimal spreadsheet that was written
// one character into text, from text + 1 up to end: each "." becomes ",",
// and a text that then holds a "," is enclosed in double quotes; any other
// text moves to text's start. Returns the finished text's length. text must
// have room for room bytes, at least end - text + 1. Inline and in one
// pass: a logged frame finishes ten texts.
inline std::size_t finishDecimalComma(char* text, char* end, std::size_t room) {
  char* at = text + 1;
  while (at != end && *at != '.') ++at;
  if (at == end) {
    std::memmove(text, text + 1, room - 1);
    return static_cast<std::size_t>(end - text - 1);
  }
  for (; at != end; ++at) {
    if (*at == '.') *at = ',';
  }
  text[0] = '"';
  *end = '"';
  return static_cast<std::size_t>(end - text + 1);
}

// Rewrites the value text of length bytes at text as finishDecimalComma
// finishes it; text must have room for length + 2 bytes.
inline std::size_t toDecimalComma(char* text, std::size_t length) {
  std::memmove(text + 1, text, length);
  return finishDecimalComma(text, text + 1 + length, length + 2);
}

// Undoes toDecimalComma: drops enclosing double quotes and turns each ","
// back into "."; returns the new length.
std::size_t toDecimalPoint(char* text, std::size_t length);

// The title as the header row holds it: unchanged for the point; for the
// comma enclosed in double quotes, each doubled, when it holds ";" or '"'.
std::string titleField(std::string_view title, DecimalMark mark);

}  // namespace logger

#endif  // LOGGER_LOGGER_DECIMAL_MARK_H_
