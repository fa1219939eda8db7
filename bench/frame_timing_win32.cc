// One long run under Windows (or Wine), each Elapse timed on its own: the
// built module, a module that does nothing, or the reference logger, one per
// process so that each peak memory is its own. Prints one line of figures for
// scripts/bench to set side by side:
//   frame_timing SUBJECT ROWS   (SUBJECT: a module's path, or "reference")
// prints "median p99 p999 calls>=100us calls>=1ms worst dispose peak", the
// times in nanoseconds, the peak (the process's peak private bytes) in bytes.
//   frame_timing MODULE ROWS --back-to-back
// prints the mean time of an Elapse in nanoseconds, the calls made back to
// back under one timer: what a row costs the module without the timer's own
// cost.
#include <windows.h>
// psapi.h builds on windows.h.
#include <psapi.h>

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/frame_states.h"
#include "bench/latency_histogram.h"
#include "bench/subjects.h"

namespace {

using Clock = std::chrono::steady_clock;

int64_t nanosecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count();
}

uint64_t peakPrivateBytes() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakPagefileUsage;
}

// Times elapse for rows frames of the trip, then dispose; prints the figures.
template <typename Elapse, typename Dispose>
void timeRun(int32_t rows, Elapse elapse, Dispose dispose) {
  bench::LatencyHistogram histogram;  // its range ends at 200 us
  uint64_t callsOver1ms = 0;
  for (int32_t frame = 0; frame < rows; ++frame) {
    const VehicleState state = bench::tripFrame(frame);
    const Clock::time_point start = Clock::now();
    elapse(state);
    const int64_t ns = nanosecondsSince(start);
    histogram.record(ns);
    if (ns >= 1000000) ++callsOver1ms;
  }
  const Clock::time_point start = Clock::now();
  dispose();
  const int64_t disposeNs = nanosecondsSince(start);
  std::printf("%" PRId64 " %" PRId64 " %" PRId64 " %" PRIu64 " %" PRIu64 " %" PRId64 " %" PRId64
              " %" PRIu64 "\n",
              histogram.percentile(0.5), histogram.percentile(0.99), histogram.percentile(0.999),
              histogram.countAtLeast(100000), callsOver1ms, histogram.worst(), disposeNs,
              peakPrivateBytes());
}

// Calls elapse for rows frames of the trip, precomputed, under one timer;
// prints the mean.
template <typename Elapse>
void timeBackToBack(int32_t rows, Elapse elapse) {
  constexpr int32_t kCycle = 4096;
  const std::vector<VehicleState> frames = bench::tripFrames(kCycle);
  const Clock::time_point start = Clock::now();
  for (int32_t frame = 0; frame < rows; ++frame) elapse(frames[frame % kCycle]);
  std::printf("%.1f\n", static_cast<double>(nanosecondsSince(start)) / rows);
}

}  // namespace

int main(int argc, char** argv) {
  const bool backToBack = argc == 4 && std::string(argv[3]) == "--back-to-back";
  if (argc != 3 && !backToBack) {
    std::fprintf(stderr, "usage: frame_timing MODULE|reference ROWS [--back-to-back]\n");
    return 2;
  }
  const std::string subject = argv[1];
  const int32_t rows = std::atoi(argv[2]);
  if (subject == "reference") {
    testing_support::TemporaryDirectory directory;
    bench::ReferenceLogger reference;
    bench::startReferenceRun(1, &reference);
    timeRun(
        rows, [&](const VehicleState& state) { reference.elapse(state); },
        [&] { reference.dispose((directory.path() / "Log_reference.csv").string()); });
    return 0;
  }
  bench::InstalledModule module(subject, 1);
  plugin::PluginModule& entry = module.entryPoints();
  int32_t panel[256] = {};
  int32_t sound[256] = {};
  if (backToBack) {
    timeBackToBack(rows, [&](const VehicleState& state) { entry.Elapse(state, panel, sound); });
    entry.Dispose();
    return 0;
  }
  timeRun(
      rows, [&](const VehicleState& state) { entry.Elapse(state, panel, sound); },
      [&] { entry.Dispose(); });
  return 0;
}
