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
  const bool whole = logger::forEachColumnFileLine(file, [&](std::string_view text) {
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

bool namesPanelEntry(std::string_view name) {
  const std::optional<logger::IndexedEntry> entry = logger::findIndexedEntry(upperAscii(name));
  return entry && entry->family == logger::IndexedKey::kPanel;
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

ColumnKeys keysFromColumnFile(const std::string& path, const std::vector<std::string>& titles) {
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
                       "title '" + printable(lines[i].title) + "' is not the log's column " +
                           std::to_string(i + 1) + " '" + printable(titles[i]) + "'");
    }
    result.keys.push_back(keyNamed(lines[i].key));
    result.panel.push_back(namesPanelEntry(lines[i].key));
  }
  if (lines.size() < titles.size()) {
    throw InputError(path, 0,
                     "names " + std::to_string(lines.size()) + " columns, the log has " +
                         std::to_string(titles.size()));
  }
  result.note = "columns from " + path;
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
  for (const std::string& title : titles) {
    result.keys.push_back(keyNamed(title));
    result.panel.push_back(namesPanelEntry(title));
  }
  return result;
}

ColumnKeys findColumnKeys(const std::string& logPath, const std::vector<std::string>& titles,
                          const std::string& columnFile) {
  if (!columnFile.empty()) return keysFromColumnFile(columnFile, titles);
  const std::optional<std::string> beside = columnFileBeside(logPath);
  std::string why = "no column file beside the log (give one with --columns FILE)";
  if (beside) {
    try {
      return keysFromColumnFile(*beside, titles);
    } catch (const InputError& error) {
      why = std::string("the column file beside the log does not match it: ") + error.what();
    }
  }
  ColumnKeys result = keysFromTitles(titles);
  result.note = why + "; every numeric column is charted by its title";
  return result;
}

}  // namespace logtool
