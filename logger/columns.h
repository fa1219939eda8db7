// The column file, which names the log's columns, and the rows it shapes:
// the header row of titles and one data row per logged frame.
#ifndef LOGGER_LOGGER_COLUMNS_H_
#define LOGGER_LOGGER_COLUMNS_H_

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "logger/decimal_mark.h"
#include "logger/log_buffer.h"
#include "logger/value_table.h"
#include "platform/file_handle.h"

namespace logger {

// The columns in order, each as the value slot it reads from.
using ColumnList = std::vector<ValueSlot>;

// One column-file line split into its key, upper-cased, and its title; false
// when the line holds fewer than two fields and names no column.
bool parseColumnLine(std::string_view line, std::string* key, std::string* title);

// A column file's text, and whether it started with a byte-order mark.
struct ColumnFileText {
  std::string text;     // UTF-8 after a mark, else the file's bytes as they are
  bool marked = false;  // a UTF-8 or UTF-16 mark, in either byte order
};

// The whole column file open in file, up to its end or a failed read: after
// a UTF-8 mark the bytes that follow it; after a UTF-16 mark the text as
// UTF-8 (utf16ToUtf8); any other file's bytes unchanged.
ColumnFileText readColumnFileText(const platform::FileHandle& file);

// Hands each line of a column file's text to visit, as the module reads
// it: a line ends at LF, a CR just before the LF is dropped, and the text
// ends at its end or at a character 26 (end of text, as Windows' text mode
// reads it). visit returns false to stop; so does this.
bool forEachColumnFileLine(std::string_view text,
                           const std::function<bool(std::string_view)>& visit);

// Whether the log's header row starts with the UTF-8 mark: when the column
// file had a mark, or when its titles are all UTF-8 and one holds a
// character outside ASCII (text in an ANSI code page almost never is).
bool titlesNeedUtf8Mark(bool fileMarked, const std::vector<std::string>& titles);

// Reads the column file at path: appends each column to columns and writes
// the header row into log, its titles for spreadsheets with this decimal
// mark, after the UTF-8 mark when titlesNeedUtf8Mark. A file that cannot be
// read gives no columns and an empty header row. An empty path reads nothing.
void readColumns(const std::string& path, DecimalMark mark, ColumnList* columns, LogBuffer* log);

// Writes one data row into log: each column's current value text from
// values, or nothing when it has none, and the separator after every field.
void appendRow(const ValueTable& values, const ColumnList& columns, char separator, LogBuffer* log);

// The line break that ends every row of the log.
constexpr std::string_view kLineBreak = "\r\n";

}  // namespace logger

#endif  // LOGGER_LOGGER_COLUMNS_H_
