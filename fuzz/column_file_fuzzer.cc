// Fuzzes the column-file reader: the input is the column file (behind a
// filler line that moves it across the reader's buffer boundary when it
// starts with 0xFF). The columns and header row must be those the file's
// rules give.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/expected_columns.h"
#include "fuzz/fuzz_support.h"
#include "logger/columns.h"
#include "tests/log_buffer_text.h"

namespace {

// The file's bytes: the input, or after 0xFF and a shift byte, the rest of
// the input behind a line without a comma that ends near 64 KiB.
std::string columnFileFor(const uint8_t* data, std::size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  if (size < 2 || data[0] != 0xFF) return input;
  std::string filler(65536 - 128 + data[1], 'f');
  filler.back() = '\n';
  return filler + input.substr(2);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string file = columnFileFor(data, size);
  const std::string path = fuzzing::scratchDirectory() + "/Logger.csv";
  fuzzing::writeBytes(path, file);
  logger::ColumnList columns;
  logger::LogBuffer log;
  logger::readColumns(path, logger::DecimalMark::kPoint, &columns, &log);
  const fuzzing::ExpectedColumns expected = fuzzing::expectedColumns(file);
  fuzzing::expectEqual("the header row", expected.header, testing_support::logBufferText(log));
  fuzzing::expectEqual("the column count", std::to_string(expected.keys.size()),
                       std::to_string(columns.size()));
  for (std::size_t index = 0; index < columns.size(); ++index) {
    const logger::ValueSlot slot = logger::ValueTable::slotFor(expected.keys[index]);
    if (columns[index] != slot) {
      fuzzing::fail("each column reads its key's value", expected.keys[index],
                    "slot " + std::to_string(columns[index]));
    }
  }
  return 0;
}
