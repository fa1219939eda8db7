// Files that are no plain files, and a module directory that disappears
// during the run: the host is never held up, and nothing is written outside
// the module's directory.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "tests/module_fixture.h"

namespace {

using plugin::defaultModuleFileName;
using testing_support::InstalledModule;
using testing_support::sampleState;
using testing_support::TemporaryDirectory;

// A named pipe at path that holds text and has a writer, so that a reader
// would wait for more forever.
class FilledPipe {
 public:
  FilledPipe(const std::filesystem::path& path, const std::string& text) {
    EXPECT_EQ(mkfifo(path.c_str(), 0666), 0);
    writer_ = open(path.c_str(), O_RDWR | O_NONBLOCK);
    EXPECT_GE(writer_, 0);
    EXPECT_EQ(write(writer_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  ~FilledPipe() { close(writer_); }

 private:
  int writer_ = -1;
};

TEST(SpecialFilesTest, PipesAreNotReadAsColumnOrSettingsFiles) {
  TemporaryDirectory directory;
  FilledPipe columns(directory.path() / "Logger.csv", "time,T\n");
  FilledPipe settings(directory.path() / "Logger.ini", "[Frame]\nSkip=1\n");
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  module->Load();
  for (int frame = 1; frame <= 60; ++frame) module->Elapse(sampleState(frame), nullptr, nullptr);
  module->Dispose();
  EXPECT_EQ(module.onlyLog(), "\r\n\r\n");
}

TEST(SpecialFilesTest, AModuleDirectoryGoneAtDisposeLeavesNoLogAnywhere) {
  TemporaryDirectory directory;
  const std::filesystem::path plugins = directory.path() / "plugins";
  std::filesystem::create_directory(plugins);
  std::filesystem::path logFolder;
  {
    InstalledModule module(plugins, plugin::defaultModuleFileName());
    module->Load();
    module->Elapse(sampleState(1), nullptr, nullptr);
    std::filesystem::remove_all(plugins);
    module->Dispose();
    EXPECT_EQ(module->GetPluginVersion(), 131072);
    // A later run in the directory made anew writes its log there again.
    std::filesystem::create_directory(plugins);
    module->Load();
    module->Dispose();
    EXPECT_EQ(module.onlyLog(), "\r\n");
  }
  std::filesystem::remove_all(plugins);
  EXPECT_TRUE(std::filesystem::is_empty(directory.path()));
}

}  // namespace
