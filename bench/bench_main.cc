// logger_bench: measures what the module costs the host, beside a
// straightforward reference, and prints the results table.
//
//   logger_bench [--module=PATH] [--rows=N] [Google Benchmark flags]
//
// PATH is the module to measure (the one built beside this program by
// default); N the logged rows of the long runs (1000000 by default).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/long_run.h"
#include "bench/per_call_benchmarks.h"
#include "bench/summary_table.h"

namespace {

// Passes every Google Benchmark run on and keeps the medians by benchmark name.
class MedianCollector : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.aggregate_name == "median") {
        medians_[run.run_name.function_name] = run.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  const bench::PerCallMedians& medians() const { return medians_; }

 private:
  bench::PerCallMedians medians_;
};

// Takes the value of --name=VALUE out of argv, if given.
bool takeOption(const char* name, int* argc, char** argv, std::string* value) {
  const std::string prefix = std::string("--") + name + "=";
  for (int index = 1; index < *argc; ++index) {
    if (std::strncmp(argv[index], prefix.c_str(), prefix.size()) == 0) {
      *value = argv[index] + prefix.size();
      for (int rest = index; rest + 1 < *argc; ++rest) argv[rest] = argv[rest + 1];
      --*argc;
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  std::string builtModule = LOGGER_BUILT_MODULE;
  std::string rowsText = "1000000";
  takeOption("module", &argc, argv, &builtModule);
  takeOption("rows", &argc, argv, &rowsText);
  bench::BenchResults results{};
  results.rows = std::stoi(rowsText);

  // The long runs first, each in a child of this process while it is still small.
  std::printf("Long runs of %d logged rows...\n", results.rows);
  std::fflush(stdout);
  results.module = bench::measureModuleRun(builtModule, results.rows);
  results.reference = bench::measureReferenceRun(results.rows);
  if (results.rows > 0) {
    results.copyFloor =
        bench::measureCopyFloorRun(results.rows, results.module.logBytes / results.rows);
    results.spinFloor = bench::measureSpinFloorRun(results.rows, results.module.medianCallNs);
    results.chunkSwitchFloor = bench::measureChunkSwitchFloorRun(200);
    results.pageTouchFloor = bench::measurePageTouchFloorRun(100);
  }
  results.writeFloorSeconds = bench::measureWriteFloorSeconds(results.module.logBytes);

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  bench::registerPerCallBenchmarks(builtModule, LOGGER_DO_NOTHING_PLUGIN);
  MedianCollector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);
  benchmark::Shutdown();
  results.medians = collector.medians();

  bench::printSummary(results);
  return 0;
}
