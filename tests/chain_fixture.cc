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
  fs::copy_file(builtFixturePath(fixtureName),
                root.path() / "train" / (std::string("SpeedGuard") + platform::moduleExtension()));
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
    : guard(prepare(root, fixtureName, columns, settings).path() / "train" /
            (std::string("SpeedGuard") + platform::moduleExtension())),
      module(root.path() / "logger", plugin::defaultModuleFileName()) {}

std::string ChainedFolders::relativeChain() {
  return std::string("[Chain]\nPlugin=..\\train\\SpeedGuard") + platform::moduleExtension() + "\n";
}

fs::path ChainedFolders::trainPlugin() const {
  return root.path() / "train" / (std::string("SpeedGuard") + platform::moduleExtension());
}

}  // namespace testing_support
