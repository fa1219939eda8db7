// Fuzzes logtool's reading of a log: the input is the log, and after a line
// "#columns" the column file beside it. Bad input must end in an InputError
// (FILE:LINE: what), never a crash; a log that reads must summarise the same
// after converting it to the other format and back.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz/fuzz_support.h"
#include "tools/logtool/log_convert.h"
#include "tools/logtool/log_reader.h"
#include "tools/logtool/run_scan.h"

namespace {

// The summary of the log at path with its notes on the format left out;
// empty when the log does not read.
std::string summaryOf(const std::string& path, bool* read) {
  logtool::ScanOptions options;
  options.charts = true;
  options.bucketLimit = 8;  // merging buckets on short inputs too
  try {
    const logtool::ScannedRun run = logtool::scanRun(path, options);
    *read = true;
    return logtool::formatSummary(run.summary);
  } catch (const logtool::InputError&) {
    *read = false;
    return "";
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::string& directory = fuzzing::scratchDirectory();
  const std::string log = directory + "/Log_1.csv";
  const std::string columns = directory + "/Logger.csv";
  const std::size_t marker = input.find("\n#columns\n");
  fuzzing::writeBytes(log,
                      input.substr(0, marker == std::string::npos ? input.size() : marker + 1));
  std::remove(columns.c_str());
  if (marker != std::string::npos) fuzzing::writeBytes(columns, input.substr(marker + 10));

  bool read = false;
  const std::string summary = summaryOf(log, &read);
  if (!read) return 0;
  logtool::LogReader reader(log);
  const logtool::DecimalMark other = reader.decimalMark() == logtool::DecimalMark::kPoint
                                         ? logtool::DecimalMark::kComma
                                         : logtool::DecimalMark::kPoint;
  const std::string converted = directory + "/Log_2.csv";
  const std::string back = directory + "/Log_3.csv";
  try {
    logtool::convertLog(log, other, converted);
    logtool::convertLog(converted, reader.decimalMark(), back);
  } catch (const logtool::InputError&) {
    return 0;  // a title the other format cannot hold
  }
  bool readBack = false;
  fuzzing::expectEqual("the summary after converting there and back", summary,
                       summaryOf(back, &readBack));
  return 0;
}
