#include "settings/chain_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "tests/temporary_directory.h"

namespace settings {
namespace {

using testing_support::TemporaryDirectory;

TEST(ChainSettingsTest, TheBuildsOwnArchitectureKeyTakesPrecedenceOverPlugin) {
  TemporaryDirectory directory;
  const std::string own = architectureChainKey();
  const std::string other = own == "Plugin64" ? "Plugin32" : "Plugin64";
  EXPECT_EQ(own, sizeof(void*) == 8 ? "Plugin64" : "Plugin32");
  const std::string separator(1, platform::pathSeparator());
  const auto chainIn = [&](const std::string& text) {
    return chainedPluginPath(directory.write("Logger.ini", text).u8string(), "base");
  };
  EXPECT_EQ(chainIn("[Chain]\nPlugin=a.dll\n" + own + "=b.dll\n" + other + "=c.dll\n"),
            "base" + separator + "b.dll");
  EXPECT_EQ(chainIn("[chain]\n" + other + "=c.dll\n plugin = \"a b.dll\" \n"),
            "base" + separator + "a b.dll");
  EXPECT_EQ(chainIn("[Chain]\n" + other + "=c.dll\n"), "");
  EXPECT_EQ(chainIn("[Frame]\nPlugin=a.dll\n"), "");
  EXPECT_EQ(chainedPluginPath("", "base"), "");
  EXPECT_EQ(chainedPluginPath((directory.path() / "missing.ini").u8string(), "base"), "");
}

TEST(ChainSettingsTest, PathsTakeEitherSeparatorAndRelativeOnesStartAtTheModulesFolder) {
  EXPECT_EQ(resolvePluginPath("..\\Ats/Train.dll", "C:\\Sim\\Logger", '\\'),
            "C:\\Sim\\Logger\\..\\Ats\\Train.dll");
  EXPECT_EQ(resolvePluginPath("D:/Ats/Train.dll", "C:\\Sim", '\\'), "D:\\Ats\\Train.dll");
  EXPECT_EQ(resolvePluginPath("\\\\server\\share\\T.dll", "C:\\Sim", '\\'),
            "\\\\server\\share\\T.dll");
  EXPECT_EQ(resolvePluginPath("..\\Ats\\train.so", "/sim/logger/", '/'),
            "/sim/logger/../Ats/train.so");
  EXPECT_EQ(resolvePluginPath("/opt/train.so", "/sim", '/'), "/opt/train.so");
  EXPECT_EQ(resolvePluginPath("C:/train.so", "/sim", '/'), "/sim/C:/train.so");
  EXPECT_EQ(resolvePluginPath("train.so", "", '/'), "train.so");
}

}  // namespace
}  // namespace settings
