#include "tests/chain_fixture.h"

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace testing_support {
namespace {

namespace fs = std::filesystem;

// Makes root/logger and root/train and copies the fixture into the latter;
// returns root.
const TemporaryDirectory& prepare(const TemporaryDirectory& root, const std::string& fixtureName,
                                  const std::string& columns, const std::string& settings) {
  fs::create_directories(root.path() / "logger");
  fs::create_directories(root.path() / "train");
  fs::copy_file(builtFixturePath(fixtureName), ChainedFolders::trainPluginIn(root.path()));
  root.write("logger/Logger.csv", columns);
  root.write("logger/Logger.ini", settings);
  return root;
}

}  // namespace

fs::path builtFixturePath(const std::string& name) {
  return fs::absolute(builtModulePath()).parent_path() / (name + platform::moduleExtension());
}

SpeedGuardControl::SpeedGuardControl(const fs::path& path) {
  std::string error;
  library_ = platform::loadLibrary(path.u8string(), &error);
  if (!library_) {
    ADD_FAILURE() << error;
    return;
  }
  record_ = reinterpret_cast<const char* (*)()>(platform::findExport(library_, "SpeedGuardRecord"));
  setMode_ =
      reinterpret_cast<void (*)(int32_t)>(platform::findExport(library_, "SpeedGuardSetMode"));
  if (!record_ || !setMode_) ADD_FAILURE() << "SpeedGuard lacks its test exports";
}

SpeedGuardControl::~SpeedGuardControl() {
  if (library_) platform::unloadLibrary(library_);
}

std::string SpeedGuardControl::record() const { return record_ ? record_() : ""; }

void SpeedGuardControl::setMode(int mode) const {
  if (setMode_) setMode_(mode);
}

ChainedFolders::ChainedFolders(const std::string& columns, const std::string& settings,
                               const std::string& fixtureName)
    : guard(trainPluginIn(prepare(root, fixtureName, columns, settings).path())),
      module(root.path() / "logger", plugin::defaultModuleFileName()) {}

std::string ChainedFolders::relativeChain() {
  return std::string("[Chain]\nPlugin=..\\train\\SpeedGuard") + platform::moduleExtension() + "\n";
}

fs::path ChainedFolders::trainPlugin() const { return trainPluginIn(root.path()); }

fs::path ChainedFolders::modulePathIn(const fs::path& root) {
  return root / "logger" / plugin::defaultModuleFileName();
}

fs::path ChainedFolders::trainPluginIn(const fs::path& root) {
  return root / "train" / (std::string("SpeedGuard") + platform::moduleExtension());
}

ChainedFolders foldersForAnEndingPlugin() {
  return ChainedFolders("time,Time\nplugin_brake,P brake\n",
                        "[Frame]\nSkip=1\n" + ChainedFolders::relativeChain());
}

void logUntilThePluginEnds(plugin::PluginModule& module, const SpeedGuardControl& guard, int mode) {
  module.Load();
  for (int frame = 1; frame <= 3; ++frame)
    module.Elapse(stateAt(1000 * frame, 10.0f), nullptr, nullptr);
  guard.setMode(mode);
  module.Elapse(stateAt(4000, 10.0f), nullptr, nullptr);
}

const char kLogBeforeThePluginEnded[] = "Time,P brake,\r\n1000,0,\r\n2000,0,\r\n3000,0,\r\n";

}  // namespace testing_support
