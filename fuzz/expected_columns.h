// The columns a column file names, worked out from its bytes by the file's
// rules alone, independently of the module's reader: the oracle that the
// fuzz targets hold the reader to.
#ifndef LOGGER_FUZZ_EXPECTED_COLUMNS_H_
#define LOGGER_FUZZ_EXPECTED_COLUMNS_H_

#include <string>
#include <string_view>
#include <vector>

namespace fuzzing {

struct ExpectedColumns {
  std::vector<std::string> keys;    // upper-cased, in file order
  std::vector<std::string> titles;  // as written, in file order
  std::string header;               // the header row with its line break
};

// A UTF-8 mark is dropped, a UTF-16 one has the text read as UTF-16. A line ends at a line feed, a
// carriage return right before it dropped; a byte of 26 ends the file. A line's fields run up to
// each ","; a line with two or more gives a column of its first field, upper-cased, titled by its
// second. The header starts with the UTF-8 mark after a mark, and when the
// titles are UTF-8 with a character outside ASCII.
ExpectedColumns expectedColumns(std::string_view file);

}  // namespace fuzzing

#endif  // LOGGER_FUZZ_EXPECTED_COLUMNS_H_
