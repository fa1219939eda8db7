#include "logger/columns.h"

#include <cstring>

#include "platform/ascii_case.h"
#include "platform/platform.h"

namespace logger {
namespace {

// A byte of this value ends the column file, as Windows' text mode reads it.
constexpr char kEndOfText = 26;

// Where the columns of a column file go, and how their titles are written.
struct ColumnSink {
  DecimalMark mark;
  ColumnList* columns;
  LogBuffer* log;
};

// Adds one accepted column from a line of the column file.
void addColumn(std::string_view line, const ColumnSink& sink) {
  std::string key;
  std::string title;
  if (!parseColumnLine(line, &key, &title)) return;
  sink.columns->push_back(ValueTable::slotFor(key));
  sink.log->append(titleField(title, sink.mark));
  const char separator = fieldSeparator(sink.mark);
  sink.log->append(std::string_view(&separator, 1));
}

}  // namespace

bool forEachColumnFileLine(const platform::FileHandle& file,
                           const std::function<bool(std::string_view)>& visit) {
  std::string line;
  bool pendingLine = false;
  char buffer[65536];
  std::ptrdiff_t count;
  while ((count = platform::readFile(file, buffer, sizeof buffer)) > 0) {
    std::string_view text(buffer, static_cast<std::size_t>(count));
    const std::size_t endOfText = text.find(kEndOfText);
    const bool ended = endOfText != std::string_view::npos;
    text = text.substr(0, endOfText);
    for (std::size_t newline; (newline = text.find('\n')) != std::string_view::npos;) {
      line.append(text.data(), newline);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!visit(line)) return false;
      line.clear();
      text.remove_prefix(newline + 1);
    }
    line.append(text.data(), text.size());
    pendingLine = !line.empty();
    if (ended) break;
  }
  return !pendingLine || visit(line);
}

bool parseColumnLine(std::string_view line, std::string* key, std::string* title) {
  std::string_view fields[2];
  int fieldCount = 0;
  while (!line.empty() && fieldCount < 2) {
    const std::size_t comma = line.find(',');
    fields[fieldCount++] = line.substr(0, comma);
    line.remove_prefix(comma == std::string_view::npos ? line.size() : comma + 1);
  }
  if (fieldCount < 2) return false;
  key->assign(fields[0]);
  for (char& c : *key) c = platform::upperAscii(c);
  title->assign(fields[1]);
  return true;
}

void readColumns(const std::string& path, DecimalMark mark, ColumnList* columns, LogBuffer* log) {
  const platform::FileHandle file =
      path.empty() ? platform::FileHandle() : platform::openForReading(path);
  if (file.isOpen()) {
    const ColumnSink sink{mark, columns, log};
    forEachColumnFileLine(file, [&sink](std::string_view line) {
      addColumn(line, sink);
      return true;
    });
  }
  log->append(kLineBreak);
}

void appendRow(const ValueTable& values, const ColumnList& columns, char separator,
               LogBuffer* log) {
  // Room for the row as it will be, taken once, and for one text field more:
  // each field's text is copied whole and only its used length kept.
  std::size_t rowSize = kLineBreak.size();
  for (const ValueSlot slot : columns) rowSize += values.at(slot).length + 1;
  char* at = log->reserve(rowSize + sizeof(ValueText::text));
  for (const ValueSlot slot : columns) {
    const ValueText& value = values.at(slot);
    std::memcpy(at, value.text, sizeof value.text);
    at[value.length] = separator;
    at += value.length + 1;
  }
  std::memcpy(at, kLineBreak.data(), kLineBreak.size());
  log->commit(at + kLineBreak.size());
}

}  // namespace logger
