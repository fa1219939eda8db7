// The per-call benchmarks: each measure twice, named "<measure>/module" and
// "<measure>/reference", repeated so that medians can be reported.
#ifndef LOGGER_BENCH_PER_CALL_BENCHMARKS_H_
#define LOGGER_BENCH_PER_CALL_BENCHMARKS_H_

#include <string>

namespace bench {

// The measures, as the benchmarks' names begin.
constexpr const char* kElapseUnlogged = "elapse_unlogged";
constexpr const char* kElapseLogged = "elapse_logged";
constexpr const char* kElapseLoggedDecimalComma = "elapse_logged_decimal_comma";
constexpr const char* kElapseLoggedChained = "elapse_logged_chained";
constexpr const char* kElapseLoggedFourPanels = "elapse_logged_four_panels";
constexpr const char* kFormatInteger = "format_integer";
constexpr const char* kFormatFloat = "format_float";
constexpr const char* kFormatDouble = "format_double";
constexpr const char* kFormatClockText = "format_clock_text";

// Registers every per-call benchmark, the module's loaded from builtModule,
// the chained one with the plug-in at doNothingPlugin behind it.
void registerPerCallBenchmarks(const std::string& builtModule, const std::string& doNothingPlugin);

}  // namespace bench

#endif  // LOGGER_BENCH_PER_CALL_BENCHMARKS_H_
