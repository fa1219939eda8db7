#include "tools/logtool/log_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace logtool {
namespace {

// Appends the quoted field that starts at row[at] (the opening quote) to
// *text, the doubled quotes made single; returns the offset after the
// closing quote, or npos when the quote is never closed.
std::size_t appendQuotedField(std::string_view row, std::size_t at, std::string* text) {
  for (std::size_t i = at + 1; i < row.size(); ++i) {
    if (row[i] != '"') {
      text->push_back(row[i]);
    } else if (i + 1 < row.size() && row[i + 1] == '"') {
      text->push_back('"');
      ++i;
    } else {
      return i + 1;
    }
  }
  return std::string_view::npos;
}

// Reads one part of clock text: digits, with a '-' among them for a
// negative time as the module writes it; false for anything else.
bool parseClockPart(std::string_view part, std::size_t digits, long long* value) {
  if (part.empty() || part.size() > digits + 1) return false;
  bool negative = false;
  long long number = 0;
  std::size_t digitCount = 0;
  for (const char c : part) {
    if (c == '-' && !negative) {
      negative = true;
    } else if (c >= '0' && c <= '9') {
      number = number * 10 + (c - '0');
      ++digitCount;
    } else {
      return false;
    }
  }
  if (digitCount == 0) return false;
  *value = negative ? -number : number;
  return true;
}

// Splits a decimal-comma row that holds quotes, field by field.
bool splitQuotedRow(std::string_view row, bool values, std::string* text,
                    std::vector<std::size_t>* ends, std::string* error) {
  text->clear();
  std::size_t at = 0;
  while (at < row.size()) {
    const std::size_t fieldStart = text->size();
    if (row[at] == '"') {
      at = appendQuotedField(row, at, text);
      if (at == std::string_view::npos) {
        *error = "a quote is not closed";
        return false;
      }
      if (at >= row.size() || row[at] != ';') {
        *error = "a quoted field is not followed by ';'";
        return false;
      }
    } else {
      const std::size_t end = row.find(';', at);
      if (end == std::string_view::npos) {
        *error = "the last field is not followed by ';'";
        return false;
      }
      text->append(row.data() + at, end - at);
      at = end;
    }
    for (std::size_t i = fieldStart; values && i < text->size(); ++i) {
      if ((*text)[i] == ',') (*text)[i] = '.';
    }
    ends->push_back(text->size());
    text->push_back(';');
    ++at;
  }
  return true;
}

}  // namespace

const char* formatName(DecimalMark mark) {
  return mark == DecimalMark::kComma ? "decimal-comma" : "decimal-point";
}

DecimalMark detectDecimalMark(std::string_view titleRow) {
  return !titleRow.empty() && titleRow.back() == ';' ? DecimalMark::kComma : DecimalMark::kPoint;
}

bool splitRow(std::string_view row, DecimalMark mark, bool values, std::string* text,
              std::vector<std::size_t>* ends, std::string* error) {
  const char separator = fieldSeparator(mark);
  ends->clear();
  if (!row.empty() && row.back() != separator) {
    *error = std::string("the last field is not followed by '") + separator + "'";
    return false;
  }
  if (mark == DecimalMark::kPoint || row.find('"') == std::string_view::npos) {
    text->assign(row.data(), row.size());
    for (std::size_t i = 0; i < text->size(); ++i) {
      char& c = (*text)[i];
      if (c == separator) {
        ends->push_back(i);
      } else if (c == ',' && values) {
        c = '.';  // only in a decimal-comma row: a decimal-point row splits at ','
      }
    }
    return true;
  }
  return splitQuotedRow(row, values, text, ends, error);
}

ValueKind classifyValue(std::string_view value) {
  // 1: a character of a number, 2: the colon of clock text.
  static const auto kCharacters = [] {
    std::array<unsigned char, 256> table{};
    for (const char c : std::string_view("0123456789.-+e"))
      table[static_cast<unsigned char>(c)] = 1;
    table[':'] = 2;
    return table;
  }();
  if (value.empty()) return ValueKind::kEmpty;
  unsigned seen = 0;
  for (const char c : value) {
    const unsigned kind = kCharacters[static_cast<unsigned char>(c)];
    if (kind == 0) {
      if (value == "true" || value == "false") return ValueKind::kBoolean;
      if (value == "nan" || value == "inf" || value == "-inf") return ValueKind::kNumber;
      return ValueKind::kOther;
    }
    seen |= kind;
  }
  return (seen & 2) ? ValueKind::kClock : ValueKind::kNumber;
}

bool parseNumber(std::string_view text, double* value) {
  if (text.empty()) return false;
  // Most fields are small whole numbers: notches, aspects, round pressures.
  if (text.size() <= 9) {
    std::size_t at = text[0] == '-' ? 1 : 0;
    long whole = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9')
      whole = whole * 10 + (text[at++] - '0');
    if (at == text.size() && at > (text[0] == '-' ? 1u : 0u)) {
      *value = text[0] == '-' ? -static_cast<double>(whole) : static_cast<double>(whole);
      return true;
    }
  }
  if (text == "nan" || text == "inf" || text == "-inf") {
    *value = text == "nan" ? std::nan("") : (text[0] == '-' ? -HUGE_VAL : HUGE_VAL);
    return true;
  }
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, *value);
  return result.ec == std::errc() && result.ptr == end;
}

bool parseClock(std::string_view text, double* seconds) {
  const std::size_t firstColon = text.find(':');
  if (firstColon == std::string_view::npos || text.size() < firstColon + 10) return false;
  std::string_view rest = text.substr(firstColon + 1);
  const std::size_t secondColon = rest.find(':');
  const std::size_t point = rest.find('.');
  if (secondColon == std::string_view::npos || point == std::string_view::npos ||
      point < secondColon) {
    return false;
  }
  long long hours, minutes, wholeSeconds, milliseconds;
  if (!parseClockPart(text.substr(0, firstColon), 9, &hours) ||
      !parseClockPart(rest.substr(0, secondColon), 2, &minutes) ||
      !parseClockPart(rest.substr(secondColon + 1, point - secondColon - 1), 2, &wholeSeconds) ||
      !parseClockPart(rest.substr(point + 1), 3, &milliseconds)) {
    return false;
  }
  *seconds = static_cast<double>(hours) * 3600 + static_cast<double>(minutes) * 60 +
             static_cast<double>(wholeSeconds) + static_cast<double>(milliseconds) / 1000;
  return true;
}

std::string formatClock(double seconds) {
  if (!std::isfinite(seconds)) return "--:--:--.---";
  const bool negative = seconds < 0;
  const long long total = std::llround(std::fabs(seconds) * 1000);
  char text[48];
  std::snprintf(text, sizeof text, "%s%02lld:%02lld:%02lld.%03lld", negative ? "-" : "",
                total / 3600000, total / 60000 % 60, total / 1000 % 60, total % 1000);
  return text;
}

}  // namespace logtool
