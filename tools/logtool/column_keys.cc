#include "tools/logtool/column_keys.h"

#include <algorithm>
#include <filesystem>

#include "logger/columns.h"
#include "logger/value_table.h"
#include "platform/ascii_case.h"
#include "platform/platform.h"
#include "tools/logtool/log_reader.h"

namespace logtool {
namespace {

// The text in upper case, as the module upper-cases a column file's key.
std::string upperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = platform::upperAscii(c);
  return upper;
}

// One accepted line of a column file.
struct ColumnLine {
  long line;
  std::string key;
  std::string title;
};

// The accepted lines of the column file at path, read as the module reads it.
std::vector<ColumnLine> readColumnLines(const std::string& path) {
  const platform::FileHandle file = platform::openForReading(path);
  if (!file.isOpen()) throw InputError(path, 0, "cannot read the column file");
  std::vector<ColumnLine> lines;
  long number = 0;
  const logger::ColumnFileText text = logger::readColumnFileText(file);
  const bool whole = logger::forEachColumnFileLine(text.text, [&](std::string_view text) {
    ColumnLine line{++number, {}, {}};
    if (logger::parseColumnLine(text, &line.key, &line.title)) lines.push_back(line);
    return lines.size() <= 100000;
  });
  if (!whole) throw InputError(path, number, "not a column file: too many lines");
  return lines;
}

}  // namespace

ColumnKey keyNamed(std::string_view name) {
  const std::optional<logger::ValueKey> key = logger::findValueKey(upperAscii(name));
  return key ? static_cast<ColumnKey>(static_cast<int>(*key) + 1) : ColumnKey::kUnknown;
}

const char* keyName(ColumnKey key) {
  if (key == ColumnKey::kUnknown) return "";
  // The catalogue's texts are literals, so each ends in a NUL.
  return logger::keyText(static_cast<logger::ValueKey>(static_cast<int>(key) - 1)).data();
}

int ColumnKeys::columnOf(ColumnKey key) const {
  const auto found = std::find(keys.begin(), keys.end(), key);
  return found == keys.end() ? -1 : static_cast<int>(found - keys.begin());
}

ColumnKeys keysFromColumnFile(const std::string& path, const std::vector<std::string>& titles,
                              unsigned codePage, Language language) {
  const auto shown = [codePage](const std::string& title) {
    std::string utf8;
    codePageToUtf8(title, codePage, &utf8);
    return printable(utf8);
  };
  const std::vector<ColumnLine> lines = readColumnLines(path);
  ColumnKeys result;
  result.columnFile = path;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i >= titles.size()) {
      throw InputError(path, lines[i].line,
                       "column " + std::to_string(i + 1) + " is not in the log, which has " +
                           std::to_string(titles.size()) + " columns");
    }
    if (lines[i].title != titles[i]) {
      throw InputError(path, lines[i].line,
                       "title '" + shown(lines[i].title) + "' is not the log's column " +
                           std::to_string(i + 1) + " '" + shown(titles[i]) + "'");
    }
    result.keys.push_back(keyNamed(lines[i].key));
  }
  if (lines.size() < titles.size()) {
    throw InputError(path, 0,
                     "names " + std::to_string(lines.size()) + " columns, the log has " +
                         std::to_string(titles.size()));
  }
  result.note = fillText(UiText::kColumnsFrom, language, {path});
  return result;
}

std::optional<std::string> columnFileBeside(const std::string& logPath) {
  namespace fs = std::filesystem;
  const fs::path log = fs::u8path(logPath);
  fs::path folder = log.parent_path();
  if (folder.empty()) folder = ".";
  std::error_code error;
  std::vector<std::string> found;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    const std::string name = entry->path().filename().u8string();
    const std::string upper = upperAscii(name);
    if (upper.size() < 4 || upper.compare(upper.size() - 4, 4, ".CSV") != 0) continue;
    if (upper.rfind("LOG_", 0) == 0 || !entry->is_regular_file(error)) continue;
    if (fs::file_size(entry->path(), error) > (1 << 20)) continue;
    std::vector<ColumnLine> lines;
    try {
      lines = readColumnLines(entry->path().u8string());
    } catch (const InputError&) {
      continue;  // unreadable, or too long for a column file: not the run's
    }
    const bool namesAKey = std::any_of(lines.begin(), lines.end(), [](const ColumnLine& line) {
      return keyNamed(line.key) != ColumnKey::kUnknown;
    });
    if (namesAKey) found.push_back(entry->path().u8string());
  }
  if (found.size() != 1) return std::nullopt;
  return found.front();
}

ColumnKeys keysFromTitles(const std::vector<std::string>& titles) {
  ColumnKeys result;
  for (const std::string& title : titles) result.keys.push_back(keyNamed(title));
  return result;
}

ColumnKeys findColumnKeys(const std::string& logPath, const std::vector<std::string>& titles,
                          const std::string& columnFile, unsigned codePage, Language language) {
  if (!columnFile.empty()) return keysFromColumnFile(columnFile, titles, codePage, language);
  const std::optional<std::string> beside = columnFileBeside(logPath);
  std::string why = uiText(UiText::kNoColumnFile, language);
  if (beside) {
    try {
      return keysFromColumnFile(*beside, titles, codePage, language);
    } catch (const InputError& error) {
      why = fillText(UiText::kColumnFileMismatch, language, {error.what()});
    }
  }
  ColumnKeys result = keysFromTitles(titles);
  result.note = fillText(UiText::kChartedByTitle, language, {why});
  return result;
}

}  // namespace logtool
