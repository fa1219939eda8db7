#include "fuzz/expected_columns.h"

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

}  // namespace

ExpectedColumns expectedColumns(std::string_view file) {
  ExpectedColumns columns;
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
  return columns;
}

}  // namespace fuzzing
