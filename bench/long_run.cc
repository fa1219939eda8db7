#include "bench/long_run.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <type_traits>
#include <vector>

#include "bench/frame_states.h"
#include "bench/latency_histogram.h"
#include "bench/subjects.h"
#include "platform/platform.h"

namespace bench {
namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// A field of /proc/self/status given in kB, such as "VmHWM:", in bytes.
uint64_t statusBytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.compare(0, field.size(), field) == 0) {
      return std::stoull(line.substr(field.size())) * 1024;
    }
  }
  return 0;
}

long involuntarySwitches() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_nivcsw;
}

// This thread's context switches so far, voluntary or not.
long threadSwitches() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  return usage.ru_nvcsw + usage.ru_nivcsw;
}

// This thread's page faults so far, minor and major.
long threadPageFaults() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  return usage.ru_minflt + usage.ru_majflt;
}

// Runs measure in a child process and hands back what it returned; a child
// that fails gives a zeroed result.
template <typename Result, typename Measure>
Result inChildProcess(Measure measure) {
  static_assert(std::is_trivially_copyable_v<Result>, "the result crosses a pipe");
  int ends[2];
  Result result{};
  if (pipe(ends) != 0) return result;
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    close(ends[0]);
    try {
      result = measure();
    } catch (...) {
    }
    const ssize_t written = write(ends[1], &result, sizeof result);
    _exit(written == static_cast<ssize_t>(sizeof result) ? 0 : 1);
  }
  close(ends[1]);
  std::size_t received = 0;
  while (child > 0 && received < sizeof result) {
    const ssize_t count =
        read(ends[0], reinterpret_cast<char*>(&result) + received, sizeof result - received);
    if (count <= 0) break;
    received += static_cast<std::size_t>(count);
  }
  close(ends[0]);
  if (child > 0) waitpid(child, nullptr, 0);
  if (received != sizeof result) result = Result{};
  return result;
}

// Calls call(index) count times, each call timed on its own, with the
// context switches around each counted outside the timed span.
template <typename Call>
void timeCalls(int32_t count, Call call, LongRunFigures* figures) {
  LatencyHistogram histogram;
  int64_t worstUnpreempted = 0;
  const long switchesBefore = involuntarySwitches();
  const long faultsBefore = threadPageFaults();
  for (int32_t index = 0; index < count; ++index) {
    const long switches = threadSwitches();
    const Clock::time_point start = Clock::now();
    call(index);
    const Clock::time_point end = Clock::now();
    const int64_t ns = std::chrono::duration_cast<std::chrono::nanoseconds>(end - start).count();
    if (threadSwitches() == switches) worstUnpreempted = std::max(worstUnpreempted, ns);
    histogram.record(ns);
  }
  figures->pageFaults = threadPageFaults() - faultsBefore;
  figures->preemptions = involuntarySwitches() - switchesBefore;
  figures->meanCallNs = histogram.mean();
  figures->medianCallNs = histogram.percentile(0.5);
  figures->p999CallNs = histogram.percentile(0.999);
  figures->worstCallNs = histogram.worst();
  figures->worstUnpreemptedNs = worstUnpreempted;
  figures->callsOver100us = histogram.countAtLeast(100000);
}

// Calls elapse with rows frames of the trip, each call timed on its own.
template <typename Elapse>
void timeFrames(int32_t rows, Elapse elapse, LongRunFigures* figures) {
  timeCalls(
      rows, [&](int32_t frame) { elapse(tripFrame(frame)); }, figures);
}

LongRunFigures moduleRun(const std::string& builtModule, int32_t rows) {
  LongRunFigures figures{};
  InstalledModule module(builtModule, 1);
  plugin::PluginModule& entry = module.entryPoints();
  int32_t panel[256] = {};
  int32_t sound[256] = {};
  figures.startResidentBytes = statusBytes("VmRSS:");
  timeFrames(
      rows, [&](const VehicleState& state) { entry.Elapse(state, panel, sound); }, &figures);
  const Clock::time_point start = Clock::now();
  entry.Dispose();
  figures.disposeSeconds = secondsSince(start);
  figures.peakResidentBytes = statusBytes("VmHWM:");
  for (const auto& log : testing_support::filesStartingWith(module.directory(), "Log_")) {
    figures.logBytes += std::filesystem::file_size(log);
  }
  figures.measured = true;
  return figures;
}

LongRunFigures referenceRun(int32_t rows) {
  LongRunFigures figures{};
  testing_support::TemporaryDirectory directory;
  ReferenceLogger reference;
  startReferenceRun(1, &reference);
  figures.startResidentBytes = statusBytes("VmRSS:");
  timeFrames(
      rows, [&](const VehicleState& state) { reference.elapse(state); }, &figures);
  const std::filesystem::path log = directory.path() / "Log_reference.csv";
  const Clock::time_point start = Clock::now();
  reference.dispose(log.string());
  figures.disposeSeconds = secondsSince(start);
  figures.peakResidentBytes = statusBytes("VmHWM:");
  figures.logBytes = std::filesystem::file_size(log);
  figures.measured = true;
  return figures;
}

LongRunFigures copyFloorRun(int32_t rows, uint64_t rowBytes) {
  LongRunFigures figures{};
  const std::vector<char> row(rowBytes, '7');
  std::unique_ptr<char[]> log(new char[rowBytes * static_cast<uint64_t>(rows)]);
  char* end = log.get();
  figures.startResidentBytes = statusBytes("VmRSS:");
  timeFrames(
      rows,
      [&](const VehicleState&) {
        std::memcpy(end, row.data(), row.size());
        end += row.size();
      },
      &figures);
  figures.peakResidentBytes = statusBytes("VmHWM:");
  figures.logBytes = static_cast<uint64_t>(end - log.get());
  figures.measured = true;
  return figures;
}

LongRunFigures spinFloorRun(int32_t rows, int64_t spinNs) {
  LongRunFigures figures{};
  const std::chrono::nanoseconds spin(spinNs);
  timeFrames(
      rows,
      [&](const VehicleState&) {
        const Clock::time_point start = Clock::now();
        while (Clock::now() - start < spin) {
        }
      },
      &figures);
  figures.measured = true;
  return figures;
}

constexpr std::size_t kChunkBytes = std::size_t{1} << 20;

// A file to map chunks of, in a directory of its own.
struct MappedFile {
  MappedFile() {
    // A file that cannot be created leaves the handle empty: the run is not measured.
    static_cast<void>(
        platform::createRunningFile((directory.path() / "floor.csv.running").string(), &file));
  }
  testing_support::TemporaryDirectory directory;
  platform::FileHandle file;
};

LongRunFigures chunkSwitchFloorRun(int32_t count) {
  LongRunFigures figures{};
  MappedFile mapped;
  char* view = nullptr;
  bool mappedAll = mapped.file.isOpen();
  timeCalls(
      count,
      [&](int32_t chunk) {
        char* next = platform::mapFileView(mapped.file, int64_t{chunk} * kChunkBytes, kChunkBytes);
        if (view) platform::unmapFileView(view, kChunkBytes);
        view = next;
        mappedAll = mappedAll && next;
      },
      &figures);
  if (view) platform::unmapFileView(view, kChunkBytes);
  figures.measured = mappedAll;
  return figures;
}

LongRunFigures pageTouchFloorRun(int32_t count) {
  LongRunFigures figures{};
  MappedFile mapped;
  constexpr std::size_t kPageBytes = 4096;
  constexpr std::size_t kPagesPerChunk = kChunkBytes / kPageBytes;
  // Every chunk mapped beforehand, so that only the first writes are timed.
  std::vector<char*> views;
  for (int32_t chunk = 0; chunk < count && mapped.file.isOpen(); ++chunk) {
    char* view = platform::mapFileView(mapped.file, int64_t{chunk} * kChunkBytes, kChunkBytes);
    if (!view) break;
    views.push_back(view);
  }
  timeCalls(
      static_cast<int32_t>(views.size() * kPagesPerChunk),
      [&](int32_t page) {
        views[static_cast<std::size_t>(page) / kPagesPerChunk]
             [static_cast<std::size_t>(page) % kPagesPerChunk * kPageBytes] = '7';
      },
      &figures);
  for (char* view : views) platform::unmapFileView(view, kChunkBytes);
  figures.measured = views.size() == static_cast<std::size_t>(count);
  return figures;
}

struct Seconds {
  double value;
};

Seconds writeFloor(uint64_t bytes) {
  constexpr std::size_t kPiece = std::size_t{1} << 20;
  std::unique_ptr<char[]> data(new char[bytes]);
  std::memset(data.get(), '7', bytes);
  testing_support::TemporaryDirectory directory;
  const Clock::time_point start = Clock::now();
  platform::FileHandle file;
  if (platform::createNewFile((directory.path() / "floor.csv").string(), &file) !=
      platform::CreateResult::kCreated) {
    return Seconds{0};
  }
  for (uint64_t at = 0; at < bytes; at += kPiece) {
    if (!platform::writeFile(file, data.get() + at, std::min<uint64_t>(kPiece, bytes - at))) {
      return Seconds{0};
    }
  }
  file.close();
  return Seconds{secondsSince(start)};
}

}  // namespace

LongRunFigures measureModuleRun(const std::string& builtModule, int32_t rows) {
  return inChildProcess<LongRunFigures>([&] { return moduleRun(builtModule, rows); });
}

LongRunFigures measureReferenceRun(int32_t rows) {
  return inChildProcess<LongRunFigures>([&] { return referenceRun(rows); });
}

LongRunFigures measureCopyFloorRun(int32_t rows, uint64_t rowBytes) {
  return inChildProcess<LongRunFigures>([&] { return copyFloorRun(rows, rowBytes); });
}

LongRunFigures measureSpinFloorRun(int32_t rows, int64_t spinNs) {
  return inChildProcess<LongRunFigures>([&] { return spinFloorRun(rows, spinNs); });
}

LongRunFigures measureChunkSwitchFloorRun(int32_t count) {
  return inChildProcess<LongRunFigures>([&] { return chunkSwitchFloorRun(count); });
}

LongRunFigures measurePageTouchFloorRun(int32_t count) {
  return inChildProcess<LongRunFigures>([&] { return pageTouchFloorRun(count); });
}

double measureWriteFloorSeconds(uint64_t bytes) {
  return inChildProcess<Seconds>([&] { return writeFloor(bytes); }).value;
}

}  // namespace bench
