#include "fuzz/expected_columns.h"

#include <vector>

namespace fuzzing {
namespace {

std::vector<std::string_view> fieldsOf(std::string_view line) {
  std::vector<std::string_view> fields;
  while (!line.empty()) {
    const std::size_t comma = line.find(',');
    fields.push_back(line.substr(0, comma));
    line.remove_prefix(comma == std::string_view::npos ? line.size() : comma + 1);
  }
  return fields;
}

std::string upperCased(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

// UTF-8 of one code point.
std::string encoded(unsigned long code) {
  if (code < 0x80) return std::string(1, static_cast<char>(code));
  std::string tail;
  int tailLength = 0;
  do {
    tail.insert(tail.begin(), static_cast<char>(0x80 | (code & 0x3F)));
    code >>= 6;
    ++tailLength;
  } while (code > (0x3Fu >> tailLength));
  const unsigned long lead = (0xFF00u >> (tailLength + 1)) & 0xFF;
  return static_cast<char>(lead | code) + tail;
}

// The text of a UTF-16 file after its mark, as UTF-8; a lone surrogate is
// U+FFFD, a last odd byte nothing.
std::string fromUtf16(std::string_view bytes, bool bigEndian) {
  std::vector<unsigned long> units;
  for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
    const unsigned long high = static_cast<unsigned char>(bytes[bigEndian ? at : at + 1]);
    const unsigned long low = static_cast<unsigned char>(bytes[bigEndian ? at + 1 : at]);
    units.push_back(high * 256 + low);
  }
  std::string text;
  for (std::size_t at = 0; at < units.size(); ++at) {
    const unsigned long unit = units[at];
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    const bool nextLow =
        at + 1 < units.size() && units[at + 1] >= 0xDC00 && units[at + 1] <= 0xDFFF;
    if (high && nextLow) {
      text += encoded(0x10000 + (unit - 0xD800) * 0x400 + (units[++at] - 0xDC00));
    } else {
      text += encoded(unit >= 0xD800 && unit <= 0xDFFF ? 0xFFFD : unit);
    }
  }
  return text;
}

// Whether text decodes as UTF-8, checked by decoding and encoding it again.
bool decodesAsUtf8(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size()) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (at + length > text.size()) return false;
    unsigned long code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) code = code * 64 + (text[at + i] & 0x3F);
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    if (encoded(code) != text.substr(at, length)) return false;
    at += length;
  }
  return true;
}

}  // namespace

ExpectedColumns expectedColumns(std::string_view bytes) {
  ExpectedColumns columns;
  std::string text(bytes);
  bool marked = true;
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) {
    text.erase(0, 3);
  } else if (text.rfind("\xFF\xFE", 0) == 0 || text.rfind("\xFE\xFF", 0) == 0) {
    text = fromUtf16(bytes.substr(2), text[0] == '\xFE');
  } else {
    marked = false;
  }
  std::string_view file = text;
  file = file.substr(0, file.find('\x1a'));
  while (!file.empty()) {
    const std::size_t lineFeed = file.find('\n');
    std::string_view line = file.substr(0, lineFeed);
    if (lineFeed != std::string_view::npos && !line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    file.remove_prefix(lineFeed == std::string_view::npos ? file.size() : lineFeed + 1);
    const std::vector<std::string_view> fields = fieldsOf(line);
    if (fields.size() < 2) continue;
    columns.keys.push_back(upperCased(fields[0]));
    columns.titles.emplace_back(fields[1]);
    columns.header.append(fields[1]).append(",");
  }
  columns.header += "\r\n";
  bool utf8 = true;
  bool nonAscii = false;
  for (const std::string& title : columns.titles) {
    utf8 = utf8 && decodesAsUtf8(title);
    for (const char c : title) nonAscii = nonAscii || (c & 0x80) != 0;
  }
  if (marked || (utf8 && nonAscii)) columns.header.insert(0, "\xEF\xBB\xBF");
  return columns;
}

}  // namespace fuzzing
