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

// Hands each line of the column file open in file to visit, as the module
// reads it: a line ends at LF, a CR just before the LF is dropped, and the
// file ends at its end, at a failed read or at a byte 26 (end of text, as
// Windows' text mode reads it). visit returns false to stop; so does this.
bool forEachColumnFileLine(const platform::FileHandle& file,
                           const std::function<bool(std::string_view)>& visit);

// Reads the column file at path: appends each column to columns and writes
// the header row into log, its titles for spreadsheets with this decimal
// mark. A file that cannot be read gives no columns and an empty header
// row. An empty path reads nothing.
void readColumns(const std::string& path, DecimalMark mark, ColumnList* columns, LogBuffer* log);

// Writes one data row into log: each column's current value text from
// values, or nothing when it has none, and the separator after every field.
void appendRow(const ValueTable& values, const ColumnList& columns, char separator, LogBuffer* log);

// The line break that ends every row of the log.
constexpr std::string_view kLineBreak = "\r\n";

}  // namespace logger

#endif  // LOGGER_LOGGER_COLUMNS_H_
