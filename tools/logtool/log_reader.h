// Reads a log row by row without holding it whole: the title row, its format,
// then each data row with its fields checked. An in-progress log ends at its
// first zero byte, and a last row without its line break is left out.
#ifndef LOGGER_TOOLS_LOGTOOL_LOG_READER_H_
#define LOGGER_TOOLS_LOGTOOL_LOG_READER_H_

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_handle.h"
#include "tools/logtool/log_text.h"

namespace logtool {

// Bad input, reported as "FILE:LINE: what" (or "FILE: what" when line is 0).
class InputError : public std::runtime_error {
 public:
  // An error at line (counted from 1) of the file at path.
  InputError(const std::string& path, long line, const std::string& what);
};

// Text for a message: printable ASCII and UTF-8 characters beyond it as they
// are, other bytes as \xNN, cut after limit bytes.
std::string printable(std::string_view text, std::size_t limit = 40);

// One data row: its fields decoded (decimal points, no quotes).
struct LogRow {
  long line = 0;                  // its line in the file, counted from 1
  std::string text;               // the fields, each followed by its separator
  std::vector<std::size_t> ends;  // where each field ends in text: its separator
  // The field at index, which must be below ends.size().
  std::string_view field(std::size_t index) const {
    const std::size_t begin = index == 0 ? 0 : ends[index - 1] + 1;
    return std::string_view(text).substr(begin, ends[index] - begin);
  }
};

class LogReader {
 public:
  // Opens the log at path and reads its title row, its titles in codePage
  // (0: guessed, guessTitleCodePage); throws InputError when the file cannot
  // be read or does not start like a log.
  explicit LogReader(const std::string& path, unsigned codePage = 0);
  LogReader(const LogReader&) = delete;
  LogReader& operator=(const LogReader&) = delete;

  const std::string& path() const { return path_; }
  // The titles as the log holds them, and as UTF-8 to show.
  const std::vector<std::string>& titles() const { return titles_; }
  const std::vector<std::string>& shownTitles() const { return shownTitles_; }
  // Whether the log starts with the UTF-8 mark, and the titles' code page.
  bool utf8Marked() const { return utf8Marked_; }
  unsigned codePage() const { return codePage_; }
  DecimalMark decimalMark() const { return mark_; }

  // Reads the next whole row into *row; false at the end of the log. Throws
  // InputError for a row that does not split into the title row's number of
  // fields or holds a field that is no value text.
  bool next(LogRow* row);

  // After the end: whether reading stopped at a zero byte (an in-progress
  // log's unwritten tail), and whether a torn last row was left out.
  bool stoppedAtZeroByte() const { return stoppedAtZero_; }
  bool tornRowLeftOut() const { return tornRow_; }
  // The bytes read so far and the file's size, for progress.
  std::uint64_t bytesRead() const { return bytesRead_; }
  std::uint64_t fileSize() const { return fileSize_; }

 private:
  bool nextLine(std::string_view* line);
  bool fill();
  void readTitleRow(unsigned codePage);

  std::string path_;
  platform::FileHandle file_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;  // the unread bytes in buffer_
  std::size_t end_ = 0;
  bool fileEnded_ = false;
  bool stoppedAtZero_ = false;
  bool tornRow_ = false;
  long line_ = 0;
  std::uint64_t bytesRead_ = 0;
  std::uint64_t fileSize_ = 0;
  DecimalMark mark_ = DecimalMark::kPoint;
  std::vector<std::string> titles_;
  std::vector<std::string> shownTitles_;
  bool utf8Marked_ = false;
  unsigned codePage_ = 0;
  std::string error_;
};

}  // namespace logtool

#endif  // LOGGER_TOOLS_LOGTOOL_LOG_READER_H_
