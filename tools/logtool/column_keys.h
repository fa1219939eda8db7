// Which value each column of a log holds: from the column file the run used,
// matched to the log's titles line by line, or, without one, from titles that
// name a key.
#ifndef LOGGER_TOOLS_LOGTOOL_COLUMN_KEYS_H_
#define LOGGER_TOOLS_LOGTOOL_COLUMN_KEYS_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "logger/value_table.h"
#include "tools/logtool/system_text.h"
#include "tools/logtool/ui_text.h"

namespace logtool {

// The values a column can hold: kUnknown, then every key of the module's
// catalogue, in its order and with its enumerators' names.
enum class ColumnKey {
  kUnknown,
#define LOGTOOL_COLUMN_KEY(name, text) name,
  LOGGER_VALUE_KEYS(LOGTOOL_COLUMN_KEY)
#undef LOGTOOL_COLUMN_KEY
};

// The key a column-file key names (any letter case); kUnknown for others.
ColumnKey keyNamed(std::string_view name);

// The column file's key for key, upper case ("SPEED"); "" for kUnknown.
const char* keyName(ColumnKey key);

// What the tool knows about the log's columns.
struct ColumnKeys {
  std::vector<ColumnKey> keys;  // one per column of the log
  std::string columnFile;       // the column file used; empty when none
  std::string note;             // how the keys were found, for the user
  // The first column holding key, or -1.
  int columnOf(ColumnKey key) const;
};

// Reads the column file at path and matches its columns to the log's titles
// line by line; throws InputError at the first line whose title differs, or
// when the file names more or fewer columns than the log has. Messages show
// titles read in codePage; the note is in language.
ColumnKeys keysFromColumnFile(const std::string& path, const std::vector<std::string>& titles,
                              unsigned codePage = kUtf8CodePage,
                              Language language = Language::kEnglish);

// The column file beside the log: the one *.csv in its folder, other than a
// Log_*.csv, that names at least one known key; none when there is no such
// file or more than one.
std::optional<std::string> columnFileBeside(const std::string& logPath);

// Keys for a log without its column file: a title that is a key's name
// (any letter case) is taken as that key.
ColumnKeys keysFromTitles(const std::vector<std::string>& titles);

// The keys for a log: from columnFile when given (a mismatch throws), else
// from the column file beside the log when it matches, else from the titles;
// the note says which and why. The titles are compared as the log holds
// them, so a column file in any encoding the module reads matches the log
// it gave; messages show them read in codePage.
ColumnKeys findColumnKeys(const std::string& logPath, const std::vector<std::string>& titles,
                          const std::string& columnFile, unsigned codePage = kUtf8CodePage,
                          Language language = Language::kEnglish);

}  // namespace logtool

#endif  // LOGGER_TOOLS_LOGTOOL_COLUMN_KEYS_H_
