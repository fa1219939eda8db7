#include "tools/logtool/log_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "logger/unicode_text.h"
#include "platform/platform.h"
#include "tools/logtool/system_text.h"
#include "tools/logtool/title_encoding.h"

namespace logtool {
namespace {

constexpr std::size_t kReadSize = 1 << 20;
// A row longer than this is no log row: the module's rows hold at most 32
// bytes per column.
constexpr std::size_t kLongestLine = 16 << 20;

std::string located(const std::string& path, long line, const std::string& what) {
  return line > 0 ? path + ":" + std::to_string(line) + ": " + what : path + ": " + what;
}

bool holdsControlBytes(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t') return true;
  }
  return false;
}

}  // namespace

InputError::InputError(const std::string& path, long line, const std::string& what)
    : std::runtime_error(located(path, line, what)) {}

std::string printable(std::string_view text, std::size_t limit) {
  std::string shown;
  const std::string_view cut = text.substr(0, limit);
  for (std::size_t at = 0; at < cut.size(); ++at) {
    const char c = cut[at];
    const auto byte = static_cast<unsigned char>(c);
    const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    if (byte >= 0x20 && byte < 0x7f) {
      shown.push_back(c);
    } else if (length > 1 && logger::isUtf8(cut.substr(at, length))) {
      shown.append(cut.substr(at, length));
      at += length - 1;
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
      shown += escaped;
    }
  }
  if (text.size() > limit) shown += "...";
  return shown;
}

LogReader::LogReader(const std::string& path, unsigned codePage) : path_(path), buffer_(kReadSize) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(std::filesystem::u8path(path), error)) {
    throw InputError(path, 0, "no such file");
  }
  file_ = platform::openForReading(path);
  if (!file_.isOpen()) throw InputError(path, 0, "cannot open the file");
  fileSize_ = static_cast<std::uint64_t>(std::max<int64_t>(platform::fileSize(file_), 0));
  readTitleRow(codePage);
}

void LogReader::readTitleRow(unsigned codePage) {
  std::string_view row;
  if (!nextLine(&row)) {
    throw InputError(
        path_, 1,
        tornRow_ ? "not a log: no line break after the first line" : "empty file: no title row");
  }
  utf8Marked_ = row.substr(0, logger::kUtf8Mark.size()) == logger::kUtf8Mark;
  if (utf8Marked_) row.remove_prefix(logger::kUtf8Mark.size());
  if (holdsControlBytes(row))
    throw InputError(path_, 1, "not a log: binary bytes in the first line");
  if (!row.empty() && row.back() != ',' && row.back() != ';') {
    throw InputError(path_, 1, "not a log: the first line's titles do not end in ',' or ';'");
  }
  mark_ = detectDecimalMark(row);
  std::string text;
  std::vector<std::size_t> ends;
  if (!splitRow(row, mark_, false, &text, &ends, &error_)) {
    throw InputError(path_, line_, "title row: " + error_);
  }
  std::size_t begin = 0;
  for (const std::size_t end : ends) {
    titles_.push_back(text.substr(begin, end - begin));
    begin = end + 1;
  }
  codePage_ =
      codePage != 0 ? codePage : guessTitleCodePage(utf8Marked_, titles_, systemAnsiCodePage());
  shownTitles_ = titlesAsUtf8(titles_, codePage_);
}

bool LogReader::fill() {
  if (fileEnded_) return false;
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (end_ == buffer_.size()) {
    if (buffer_.size() >= kLongestLine) {
      throw InputError(path_, line_ + 1, "not a log: a line longer than 16 MiB");
    }
    buffer_.resize(buffer_.size() * 2);
  }
  const std::ptrdiff_t read =
      platform::readFile(file_, buffer_.data() + end_, buffer_.size() - end_);
  if (read < 0) throw InputError(path_, line_ + 1, "cannot read the file");
  if (read == 0) {
    fileEnded_ = true;
    return false;
  }
  const std::size_t count = static_cast<std::size_t>(read);
  const void* zero = std::memchr(buffer_.data() + end_, 0, count);
  const std::size_t kept =
      zero == nullptr
          ? count
          : static_cast<std::size_t>(static_cast<const char*>(zero) - (buffer_.data() + end_));
  bytesRead_ += count;
  end_ += kept;
  if (zero != nullptr) {
    stoppedAtZero_ = true;
    fileEnded_ = true;
  }
  return true;
}

bool LogReader::nextLine(std::string_view* line) {
  std::size_t searched = begin_;
  for (;;) {
    const void* newline = std::memchr(buffer_.data() + searched, '\n', end_ - searched);
    if (newline != nullptr) {
      const char* at = static_cast<const char*>(newline);
      std::size_t length = static_cast<std::size_t>(at - (buffer_.data() + begin_));
      const char* start = buffer_.data() + begin_;
      begin_ += length + 1;
      if (length > 0 && start[length - 1] == '\r') --length;
      *line = std::string_view(start, length);
      ++line_;
      return true;
    }
    const std::size_t pending = end_ - begin_;
    if (!fill()) {
      tornRow_ = end_ > begin_;
      begin_ = end_;
      return false;
    }
    searched = begin_ + pending;
  }
}

bool LogReader::next(LogRow* row) {
  std::string_view line;
  if (!nextLine(&line)) return false;
  row->line = line_;
  if (!splitRow(line, mark_, true, &row->text, &row->ends, &error_)) {
    throw InputError(path_, line_, error_);
  }
  if (row->ends.size() != titles_.size()) {
    throw InputError(path_, line_,
                     "ragged row: " + std::to_string(row->ends.size()) +
                         " fields, the title row has " + std::to_string(titles_.size()));
  }
  for (std::size_t i = 0; i < titles_.size(); ++i) {
    const std::string_view value = row->field(i);
    if (classifyValue(value) == ValueKind::kOther) {
      throw InputError(path_, line_,
                       "column '" + printable(shownTitles_[i]) + "' holds '" + printable(value) +
                           "', which is no value the module writes");
    }
  }
  return true;
}

}  // namespace logtool
