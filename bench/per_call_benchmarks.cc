#include "bench/per_call_benchmarks.h"

#include <benchmark/benchmark.h>

#include <limits>
#include <vector>

#include "bench/frame_states.h"
#include "bench/reference_logger.h"
#include "bench/subjects.h"
#include "logger/format_value.h"

namespace bench {
namespace {

// Frames made ahead and cycled through; a power of two.
constexpr int32_t kFrameCycle = 4096;
// A frame interval no benchmark reaches: Elapse never logs.
constexpr int32_t kNeverLogged = std::numeric_limits<int32_t>::max();
// Logged rows after which a run starts afresh, untimed, so memory stays bounded.
constexpr int32_t kRowsPerRun = 1 << 16;

std::size_t nextFrame(std::size_t frame) { return (frame + 1) & (kFrameCycle - 1); }

void moduleElapse(benchmark::State& state, const std::string& builtModule, int32_t interval,
                  bool decimalComma = false, const std::vector<std::string>& extraKeys = {},
                  const std::string& chainedPlugin = std::string()) {
  InstalledModule module(builtModule, interval, decimalComma, extraKeys, chainedPlugin);
  plugin::PluginModule& entry = module.entryPoints();
  const std::vector<VehicleState> frames = tripFrames(kFrameCycle);
  int32_t panel[256] = {};
  int32_t sound[256] = {};
  std::size_t frame = 0;
  int32_t rows = 0;
  for (auto _ : state) {
    if (++rows == kRowsPerRun) {
      state.PauseTiming();
      entry.Load();
      rows = 0;
      state.ResumeTiming();
    }
    benchmark::DoNotOptimize(entry.Elapse(frames[frame], panel, sound));
    frame = nextFrame(frame);
  }
}

void referenceElapse(benchmark::State& state, int32_t interval) {
  ReferenceLogger reference;
  startReferenceRun(interval, &reference);
  const std::vector<VehicleState> frames = tripFrames(kFrameCycle);
  std::size_t frame = 0;
  int32_t rows = 0;
  for (auto _ : state) {
    if (++rows == kRowsPerRun) {
      state.PauseTiming();
      startReferenceRun(interval, &reference);
      rows = 0;
      state.ResumeTiming();
    }
    benchmark::DoNotOptimize(reference.elapse(frames[frame]));
    frame = nextFrame(frame);
  }
}

// Values of one kind taken from the trip's frames by pick.
template <typename Value, typename Pick>
std::vector<Value> tripValues(Pick pick) {
  std::vector<Value> values;
  for (const VehicleState& frame : tripFrames(kFrameCycle)) values.push_back(pick(frame));
  return values;
}

// Formats values in turn with the module's format, into one text buffer.
template <typename Value>
void moduleFormat(benchmark::State& state, const std::vector<Value>& values,
                  char* (*format)(Value, char*)) {
  char text[logger::kValueTextCapacity];
  std::size_t at = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(format(values[at], text));
    benchmark::ClobberMemory();
    at = nextFrame(at);
  }
}

// Formats values in turn with the reference's format.
template <typename Value>
void referenceFormat(benchmark::State& state, const std::vector<Value>& values,
                     std::string (*format)(Value)) {
  std::size_t at = 0;
  for (auto _ : state) {
    std::string text = format(values[at]);
    benchmark::DoNotOptimize(text.data());
    at = nextFrame(at);
  }
}

// Every float the trip hands over, each field in turn.
float tripFloat(const VehicleState& frame) {
  const float fields[] = {frame.speed,
                          frame.brakeCylinderPressure,
                          frame.mainReservoirPressure,
                          frame.equalizingReservoirPressure,
                          frame.brakePipePressure,
                          frame.straightAirPipePressure,
                          frame.current};
  return fields[static_cast<uint32_t>(frame.time / 16) % 7];
}

template <typename Function>
void add(const std::string& measure, const char* subject, Function function) {
  benchmark::RegisterBenchmark((measure + "/" + subject).c_str(), function)
      ->Repetitions(5)
      ->MinTime(0.2)
      ->ReportAggregatesOnly(true);
}

}  // namespace

void registerPerCallBenchmarks(const std::string& builtModule, const std::string& doNothingPlugin) {
  add(kElapseUnlogged, "module",
      [builtModule](benchmark::State& state) { moduleElapse(state, builtModule, kNeverLogged); });
  add(kElapseUnlogged, "reference",
      [](benchmark::State& state) { referenceElapse(state, kNeverLogged); });
  add(kElapseLogged, "module",
      [builtModule](benchmark::State& state) { moduleElapse(state, builtModule, 1); });
  add(kElapseLogged, "reference", [](benchmark::State& state) { referenceElapse(state, 1); });
  add(kElapseLoggedDecimalComma, "module",
      [builtModule](benchmark::State& state) { moduleElapse(state, builtModule, 1, true); });
  add(kElapseLoggedChained, "module", [builtModule, doNothingPlugin](benchmark::State& state) {
    moduleElapse(state, builtModule, 1, false, {}, doNothingPlugin);
  });
  add(kElapseLoggedFourPanels, "module", [builtModule](benchmark::State& state) {
    moduleElapse(state, builtModule, 1, false, {"PANEL_0", "PANEL_1", "PANEL_100", "PANEL_255"});
  });

  static const std::vector<int32_t> times =
      tripValues<int32_t>([](const VehicleState& frame) { return frame.time; });
  static const std::vector<float> floats = tripValues<float>(tripFloat);
  static const std::vector<double> locations =
      tripValues<double>([](const VehicleState& frame) { return frame.location; });
  add(kFormatInteger, "module",
      [](benchmark::State& state) { moduleFormat(state, times, logger::formatInteger); });
  add(kFormatInteger, "reference",
      [](benchmark::State& state) { referenceFormat(state, times, referenceInteger); });
  add(kFormatFloat, "module",
      [](benchmark::State& state) { moduleFormat(state, floats, logger::formatFloat); });
  add(kFormatFloat, "reference",
      [](benchmark::State& state) { referenceFormat(state, floats, referenceFloat); });
  add(kFormatDouble, "module",
      [](benchmark::State& state) { moduleFormat(state, locations, logger::formatDouble); });
  add(kFormatDouble, "reference",
      [](benchmark::State& state) { referenceFormat(state, locations, referenceDouble); });
  add(kFormatClockText, "module",
      [](benchmark::State& state) { moduleFormat(state, times, logger::formatClockText); });
  add(kFormatClockText, "reference",
      [](benchmark::State& state) { referenceFormat(state, times, referenceClockText); });
}

}  // namespace bench
