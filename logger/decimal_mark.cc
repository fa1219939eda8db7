#include "logger/decimal_mark.h"

#include <cstring>

namespace logger {

std::size_t toDecimalPoint(char* text, std::size_t length) {
  if (length >= 2 && text[0] == '"' && text[length - 1] == '"') {
    length -= 2;
    std::memmove(text, text + 1, length);
  }
  for (std::size_t at = 0; at < length; ++at) {
    if (text[at] == ',') text[at] = '.';
  }
  return length;
}

std::string titleField(std::string_view title, DecimalMark mark) {
  if (mark == DecimalMark::kPoint || title.find_first_of(";\"") == std::string_view::npos) {
    return std::string(title);
  }
  std::string field = "\"";
  for (const char c : title) {
    field += c;
    if (c == '"') field += '"';
  }
  field += '"';
  return field;
}

}  // namespace logger
