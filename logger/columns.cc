#include "logger/columns.h"

#include <cstring>

#include "logger/unicode_text.h"
#include "platform/ascii_case.h"
#include "platform/platform.h"

namespace logger {
namespace {

// A byte of this value ends the column file, as Windows' text mode reads it.
constexpr char kEndOfText = 26;

// The file's start that tells its encoding.
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";

// The most room a row of columnCount fields can need: each field's text
// copied whole, the separators and the line break.
std::size_t mostRowRoom(std::size_t columnCount) {
  return columnCount * (kValueTextCapacity + 1) + sizeof(ValueText::text) + kLineBreak.size();
}

// The room the row needs: up to a few pages' worth, its most, which saves
// measuring it; beyond, what its fields need, so that wide rows do not take
// much more room at the end of a view than they fill.
std::size_t rowRoom(const ValueTable& values, const ColumnList& columns) {
  constexpr std::size_t kMostRoomTaken = 16 << 10;
  const std::size_t most = mostRowRoom(columns.size());
  if (most <= kMostRoomTaken) return most;
  std::size_t room = kLineBreak.size() + sizeof(ValueText::text);
  for (const ValueSlot slot : columns) room += values.at(slot).length + 1;
  return room;
}

}  // namespace

ColumnFileText readColumnFileText(const platform::FileHandle& file) {
  std::string bytes;
  char buffer[65536];
  std::ptrdiff_t count;
  while ((count = platform::readFile(file, buffer, sizeof buffer)) > 0) {
    bytes.append(buffer, static_cast<std::size_t>(count));
  }
  const std::string_view start = std::string_view(bytes).substr(0, 3);
  ColumnFileText text;
  if (start == kUtf8Mark) {
    text.text = bytes.substr(kUtf8Mark.size());
  } else if (start.substr(0, 2) == kUtf16LittleEndianMark ||
             start.substr(0, 2) == kUtf16BigEndianMark) {
    const bool bigEndian = start.substr(0, 2) == kUtf16BigEndianMark;
    text.text = utf16ToUtf8(std::string_view(bytes).substr(2), bigEndian);
  } else {
    text.text = std::move(bytes);
    return text;
  }
  text.marked = true;
  return text;
}

bool forEachColumnFileLine(std::string_view text,
                           const std::function<bool(std::string_view)>& visit) {
  text = text.substr(0, text.find(kEndOfText));
  while (!text.empty()) {
    const std::size_t newline = text.find('\n');
    std::string_view line = text.substr(0, newline);
    if (newline != std::string_view::npos && !line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    if (!visit(line)) return false;
    text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
  }
  return true;
}

bool titlesNeedUtf8Mark(bool fileMarked, const std::vector<std::string>& titles) {
  if (fileMarked) return true;
  bool nonAscii = false;
  for (const std::string& title : titles) {
    if (!isUtf8(title)) return false;
    nonAscii = nonAscii || holdsNonAscii(title);
  }
  return nonAscii;
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
    const ColumnFileText text = readColumnFileText(file);
    std::vector<std::string> titles;
    forEachColumnFileLine(text.text, [&](std::string_view line) {
      std::string key;
      std::string title;
      if (parseColumnLine(line, &key, &title)) {
        columns->push_back(ValueTable::slotFor(key));
        titles.push_back(std::move(title));
      }
      return true;
    });
    if (titlesNeedUtf8Mark(text.marked, titles)) log->append(kUtf8Mark);
    const char separator = fieldSeparator(mark);
    for (const std::string& title : titles) {
      log->append(titleField(title, mark));
      log->append(std::string_view(&separator, 1));
    }
  }
  log->append(kLineBreak);
}

void appendRow(const ValueTable& values, const ColumnList& columns, char separator,
               LogBuffer* log) {
  // Each field's text is copied whole and only its used length kept.
  char* at = log->reserve(rowRoom(values, columns));
  for (const ValueSlot slot : columns) {
    const ValueText& value = values.at(slot);
    // Read before the separator's store, which may alias it.
    const std::size_t length = value.length;
    std::memcpy(at, value.text, sizeof value.text);
    at[length] = separator;
    at += length + 1;
  }
  std::memcpy(at, kLineBreak.data(), kLineBreak.size());
  log->commit(at + kLineBreak.size());
}

}  // namespace logger
