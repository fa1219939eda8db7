#include "tools/logtool/log_convert.h"

#include <filesystem>

#include "logger/columns.h"
#include "logger/unicode_text.h"
#include "tools/logtool/log_reader.h"
#include "tools/logtool/output_file.h"

namespace logtool {
namespace {

void writeAll(std::ostream& file, const std::string& bytes, const std::string& path) {
  if (!file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
    throw std::runtime_error(path + ": cannot write the converted log");
  }
}

}  // namespace

std::string convertedPath(const std::string& input, DecimalMark to) {
  namespace fs = std::filesystem;
  const fs::path path = fs::u8path(input);
  std::string stem = path.stem().u8string();
  for (const char* suffix : {".decimal-comma", ".decimal-point"}) {
    const std::string ending = suffix;
    if (stem.size() > ending.size() &&
        stem.compare(stem.size() - ending.size(), ending.size(), ending) == 0) {
      stem.resize(stem.size() - ending.size());
    }
  }
  const std::string extension = path.has_extension() ? path.extension().u8string() : ".csv";
  return (path.parent_path() / fs::u8path(stem + "." + formatName(to) + extension)).u8string();
}

std::string encodeField(std::string_view field, DecimalMark to, bool title) {
  if (title) return logger::titleField(field, to);
  std::string value(field);
  if (to == DecimalMark::kPoint) return value;
  // As the module finishes its value texts, with room for the quotes.
  value.resize(field.size() + 2);
  value.resize(logger::toDecimalComma(&value[0], field.size()));
  return value;
}

long convertLog(const std::string& input, DecimalMark to, const std::string& output) {
  LogReader log(input);
  if (log.decimalMark() == to) {
    throw InputError(input, 1, std::string("the log is already ") + formatName(to));
  }
  const char separator = fieldSeparator(to);
  std::string bytes(log.utf8Marked() ? logger::kUtf8Mark : "");
  for (std::size_t i = 0; i < log.titles().size(); ++i) {
    const std::string& title = log.titles()[i];
    if (to == DecimalMark::kPoint && title.find(',') != std::string::npos) {
      throw InputError(input, 1,
                       "title '" + printable(log.shownTitles()[i]) +
                           "' holds ',', which a decimal-point log cannot");
    }
    bytes += encodeField(title, to, true);
    bytes += separator;
  }
  bytes += logger::kLineBreak;
  OutputFile converted(output);
  std::ostream& file = converted.stream();
  LogRow row;
  long rows = 0;
  while (log.next(&row)) {
    for (std::size_t i = 0; i < row.ends.size(); ++i) {
      bytes += encodeField(row.field(i), to, false);
      bytes += separator;
    }
    bytes += logger::kLineBreak;
    ++rows;
    if (bytes.size() > (1 << 20)) {
      writeAll(file, bytes, output);
      bytes.clear();
    }
  }
  writeAll(file, bytes, output);
  converted.commit();
  return rows;
}

}  // namespace logtool
