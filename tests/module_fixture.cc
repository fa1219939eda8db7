#include "tests/module_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "platform/dynamic_library.h"

namespace testing_support {
namespace {

std::filesystem::path modulePathArgument;
std::filesystem::path expectedDirectoryArgument;
int sequenceCount = 0;

}  // namespace

const std::filesystem::path& builtModulePath() { return modulePathArgument; }
const std::filesystem::path& expectedLogDirectory() { return expectedDirectoryArgument; }

int sequenceCountArgument(int platformDefault) {
  return sequenceCount > 0 ? sequenceCount : platformDefault;
}

InstalledModule::InstalledModule(const std::filesystem::path& directory,
                                 const std::string& fileName)
    : directory_(directory) {
  const std::filesystem::path installed = directory / fileName;
  std::filesystem::copy_file(builtModulePath(), installed,
                             std::filesystem::copy_options::overwrite_existing);
  std::string error;
  if (!module_.open(installed.u8string(), &error)) ADD_FAILURE() << error;
}

std::vector<std::filesystem::path> InstalledModule::logs() const {
  return filesStartingWith(directory_, "Log_");
}

std::string InstalledModule::onlyLog() const {
  const std::vector<std::filesystem::path> found = logs();
  if (found.size() != 1) {
    ADD_FAILURE() << "expected one log, found " << found.size();
    return std::string();
  }
  return readFileBytes(found.front());
}

bool awaitFinishedLogs(const std::filesystem::path& directory, std::size_t count) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  for (;;) {
    const std::vector<std::filesystem::path> logs = filesStartingWith(directory, "Log_");
    // On Windows a log just renamed may still be held a moment, which
    // readers that do not share deletion must wait for.
    const bool finished =
        filesStartingWith(directory, "Running_").empty() && logs.size() == count &&
        std::all_of(logs.begin(), logs.end(),
                    [](const std::filesystem::path& log) { return std::ifstream(log).is_open(); });
    if (finished || std::chrono::steady_clock::now() > deadline) return finished;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

bool awaitModuleUnloaded(const std::string& path) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  while (platform::isLibraryLoaded(path)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

VehicleState sampleState(int frame) {
  VehicleState state;
  state.location = 1000.0 + frame * 12.345678;
  state.speed = static_cast<float>(frame) * 0.75f;
  state.time = 36000000 + frame * 16;
  state.brakeCylinderPressure = frame % 7 * 50.5f;
  state.mainReservoirPressure = 800.0f - frame * 0.1f;
  state.equalizingReservoirPressure = 490.25f;
  state.brakePipePressure = 490.0f + frame / 3.0f;
  state.straightAirPipePressure = 0.0f;
  state.current = frame * -12.5f;
  return state;
}

VehicleState stateAt(int32_t time, float speed) {
  VehicleState state = sampleState(0);
  state.time = time;
  state.speed = speed;
  return state;
}

std::string expectedLog(const std::string& name) {
  const std::filesystem::path path = expectedLogDirectory() / name;
  const std::string bytes = readFileBytes(path);
  if (bytes.empty()) ADD_FAILURE() << "missing expected log " << path.string();
  return bytes;
}

}  // namespace testing_support

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: %s MODULE EXPECTED_LOG_DIRECTORY [RANDOM_SEQUENCES]\n", argv[0]);
    return 2;
  }
  if (argc == 4) testing_support::sequenceCount = std::atoi(argv[3]);
  testing_support::modulePathArgument = std::filesystem::absolute(argv[1]);
  testing_support::expectedDirectoryArgument = std::filesystem::absolute(argv[2]);
  return RUN_ALL_TESTS();
}
