// Fuzzes whole runs: the input holds a column file, a settings file and a
// sequence of the host's calls, separated by lines "@@". The calls drive a
// Logger as the entry points do, ending in Dispose, and every log written
// must hold exactly the bytes the run model gives.
//
// A file's section that is "~" means no such file. In the calls section:
// L Load, D Dispose, e Elapse with a plain state, E Elapse with the next 40
// bytes as its state, A Elapse with a plain state and panel and sound arrays
// made from the next 8 bytes, H Elapse with a plain state and the next 16
// bytes as a chained plug-in's handles, P B R S SetPower, SetBrake, SetReverser, SetSignal with
// the next 4 bytes, N SetBeaconData with the next 16, O DoorOpen, C
// DoorClose; other bytes are skipped.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "fuzz/run_model.h"
#include "logger/logger.h"

namespace {

using logger::ValueKey;

// The input's next section, up to the next "@@\n" or its end.
std::string_view nextSection(std::string_view* input) {
  const std::size_t marker = input->find("@@\n");
  const std::string_view section = input->substr(0, marker);
  input->remove_prefix(marker == std::string_view::npos ? input->size() : marker + 3);
  return section;
}

// Writes the file at path, or removes it when the section is "~".
std::optional<std::string> placeFile(const std::string& path, std::string_view section) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  if (section == "~") return std::nullopt;
  fuzzing::writeBytes(path, section);
  return std::string(section);
}

// The next size bytes of the calls as a record; missing bytes are zero.
template <typename Record>
Record take(std::string_view* calls) {
  Record record;
  std::memset(&record, 0, sizeof record);
  const std::size_t size = std::min(sizeof record, calls->size());
  std::memcpy(&record, calls->data(), size);
  calls->remove_prefix(size);
  return record;
}

// An ordinary vehicle state for the frame-th plain Elapse.
VehicleState plainState(int frame) {
  return VehicleState{frame * 12.5, frame * 0.5f, frame * 1000, 1.0f * frame, 800.0f,
                      490.0f,       490.0f,       0.0f,         -2.5f * frame};
}

// A Logger driven as the entry points drive it, beside the run model.
class WholeRun {
 public:
  WholeRun(std::optional<std::string> columnFile, std::optional<std::string> settings)
      : columnFile_(std::move(columnFile)), settings_(std::move(settings)) {}

  // Makes the call named by which, taking its arguments from calls.
  void call(char which, std::string_view* calls) {
    switch (which) {
      case 'L':
        return load();
      case 'D':
        return dispose();
      case 'e':
        return elapse(plainState(++plainFrames_));
      case 'E':
        return elapse(take<VehicleState>(calls));
      case 'A': {
        const int32_t panelStart = take<int32_t>(calls);
        return elapseWithArrays(panelStart, take<int32_t>(calls));
      }
      case 'H': {
        const Handles commanded = take<Handles>(calls);
        return elapse(plainState(++plainFrames_), &commanded);
      }
      case 'P':
        return setInt(ValueKey::kPower, take<int32_t>(calls));
      case 'B':
        return setInt(ValueKey::kBrake, take<int32_t>(calls));
      case 'R':
        return setInt(ValueKey::kReverser, take<int32_t>(calls));
      case 'S':
        return setInt(ValueKey::kSignal, take<int32_t>(calls));
      case 'N':
        return setBeacon(take<BeaconData>(calls));
      case 'O':
        return setFlag(false);
      case 'C':
        return setFlag(true);
      default:
        return;
    }
  }

  // Load: a run left open ends with its log, and a run starts in the module
  // and in the model.
  void load() {
    const std::optional<std::string> open = model_.dispose();
    logger_.startRun(directory_ + "/Logger.so");
    expectLog("logs written at Load", open);
    std::optional<std::string> shared;
    if (std::filesystem::exists("./Ats.ini")) shared = fuzzing::readBytes("./Ats.ini");
    model_.load(shared, settings_, columnFile_);
  }

  // Dispose: the log written, if any, must be the model's, byte for byte.
  void dispose() {
    logger_.endRun();
    expectLog("logs written at Dispose", model_.dispose());
  }

 private:
  // The directory must hold the expected log alone, or no log; then none.
  void expectLog(const char* what, const std::optional<std::string>& expected) {
    const auto logs = fuzzing::filesStartingWith(directory_, "Log_");
    fuzzing::expectEqual(what, expected ? "1" : "0", std::to_string(logs.size()));
    if (expected) fuzzing::expectEqual("the log", *expected, fuzzing::readBytes(logs.front()));
    for (const std::string& log : logs) std::filesystem::remove(log);
  }

  void elapse(const VehicleState& state, const Handles* commanded = nullptr,
              const int32_t* panel = nullptr, const int32_t* sound = nullptr) {
    logger_.sampleFrame(state, logger::FrameInputs{commanded, {panel, sound}});
    model_.elapse(state, commanded, panel, sound);
  }

  // Arrays of 256 entries counting up from panelStart and down from soundStart.
  void elapseWithArrays(int32_t panelStart, int32_t soundStart) {
    int32_t panel[256];
    int32_t sound[256];
    for (uint32_t at = 0; at < 256; ++at) {
      panel[at] = static_cast<int32_t>(static_cast<uint32_t>(panelStart) + at);
      sound[at] = static_cast<int32_t>(static_cast<uint32_t>(soundStart) - at);
    }
    elapse(plainState(++plainFrames_), nullptr, panel, sound);
  }

  void setInt(ValueKey key, int32_t value) {
    logger_.values().setInt(key, value);
    model_.setText(std::string(logger::keyText(key)), fuzzing::integerText(value));
  }

  void setFlag(bool closed) {
    logger_.values().setFlag(ValueKey::kPilotLamp, closed);
    model_.setText("PILOTLAMP", closed ? "true" : "false");
  }

  void setBeacon(const BeaconData& beacon) {
    setInt(ValueKey::kBeaconType, beacon.type);
    setInt(ValueKey::kBeaconSignal, beacon.signal);
    logger_.values().setFloat(ValueKey::kBeaconDistance, beacon.distance);
    model_.setText("BEACON_DISTANCE", fuzzing::realText(beacon.distance));
    setInt(ValueKey::kBeaconOptional, beacon.optional);
  }

  const std::string& directory_ = fuzzing::scratchDirectory();
  std::optional<std::string> columnFile_;
  std::optional<std::string> settings_;
  logger::Logger logger_;
  fuzzing::RunModel model_;
  int plainFrames_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string& directory = fuzzing::scratchDirectory();
  std::optional<std::string> columnFile = placeFile(directory + "/Logger.csv", nextSection(&input));
  std::optional<std::string> settings = placeFile(directory + "/Logger.ini", nextSection(&input));
  WholeRun run(std::move(columnFile), std::move(settings));
  while (!input.empty()) {
    const char which = input.front();
    input.remove_prefix(1);
    run.call(which, &input);
  }
  run.dispose();
  return 0;
}
