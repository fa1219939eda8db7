// Column files and settings files that are huge, garbled or not files at
// all: the run goes on, and the log holds what each case below states.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "tests/module_fixture.h"
#include "tools/plugin_host/current_directory.h"

namespace {

using plugin::defaultModuleFileName;
using plugin_host::CurrentDirectory;
using testing_support::InstalledModule;
using testing_support::readFileBytes;
using testing_support::sampleState;
using testing_support::TemporaryDirectory;

// Loads, elapses frames 1 to frames and disposes; returns the one log.
std::string runOnce(InstalledModule& module, int frames) {
  module->Load();
  for (int frame = 1; frame <= frames; ++frame) {
    module->Elapse(sampleState(frame), nullptr, nullptr);
  }
  module->Dispose();
  return module.onlyLog();
}

// A file's bytes and the log a run with it writes.
struct Case {
  std::string file;
  std::string expectedLog;
};

std::string repeated(const std::string& text, int times) {
  std::string result;
  result.reserve(text.size() * static_cast<std::size_t>(times));
  for (int time = 0; time < times; ++time) result += text;
  return result;
}

TEST(HostileColumnFileTest, ATenMegabyteLineIsOneColumnOrNone) {
  const std::string title(10 << 20, 'T');
  for (const Case& each :
       std::vector<Case>{{",," + title + "\nspeed,S\n", ",S,\r\n,0.75,\r\n"},
                         {"speed," + title + "\ntime,M\n", title + ",M,\r\n0.75,36000016,\r\n"},
                         {title + "\ntime,M", "M,\r\n36000016,\r\n"}}) {
    TemporaryDirectory directory;
    directory.write("Logger.csv", each.file);
    directory.write("Logger.ini", "[Frame]\nSkip=1\n");
    InstalledModule module(directory.path(), plugin::defaultModuleFileName());
    EXPECT_EQ(runOnce(module, 1), each.expectedLog);
  }
}

TEST(HostileColumnFileTest, AHundredThousandColumnsFillEveryRow) {
  TemporaryDirectory directory;
  directory.write("Logger.csv", repeated("speed,S\n", 100000));
  directory.write("Logger.ini", "[Frame]\nSkip=1\n");
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  EXPECT_EQ(runOnce(module, 2), repeated("S,", 100000) + "\r\n" + repeated("0.75,", 100000) +
                                    "\r\n" + repeated("1.5,", 100000) + "\r\n");
}

TEST(HostileColumnFileTest, OddBytesInKeysMatchNothingAndTitlesKeepThem) {
  TemporaryDirectory directory;
  using namespace std::string_literals;
  directory.write("Logger.csv",
                  "sp\0eed,N\0ul\n"s          // a NUL in the key and in the title
                  "speed\xff,High\xe9\n"      // bytes above 127
                  "\xe9speed,Accent\n"        // a byte above 127 is not upper-cased
                  "\xc3\x28,\xc3\x28\xa0\n"   // invalid UTF-8 in key and title
                  "SPEED,\xf0\x28\x8c\x28\n"  // invalid UTF-8 in the title only
                  "\xef\xbb\xbftime,Bom\n"    // a byte-order mark inside the file
                  "time,T\n\x1a"              // an end-of-text byte ends the file
                  "brake,Unread\n");
  directory.write("Logger.ini", "[Frame]\nSkip=1\n");
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  EXPECT_EQ(runOnce(module, 1),
            "N\0ul,High\xe9,Accent,\xc3\x28\xa0,\xf0\x28\x8c\x28,Bom,T,\r\n"
            ",,,,0.75,,36000016,\r\n"s);
}

TEST(HostileColumnFileTest, OnlyALineFeedEndsALine) {
  for (const Case& each :
       std::vector<Case>{{"time,T\rspeed,S\r", "T\rspeed,\r\n36000016,\r\n"},
                         {"time,T\r\r\nspeed,S\n\r", "T\r,S,\r\n36000016,0.75,\r\n"},
                         {"\r\n\n\r\r\n", "\r\n\r\n"}}) {
    TemporaryDirectory directory;
    directory.write("Logger.csv", each.file);
    directory.write("Logger.ini", "[Frame]\nSkip=1\n");
    InstalledModule module(directory.path(), plugin::defaultModuleFileName());
    EXPECT_EQ(runOnce(module, 1), each.expectedLog);
  }
}

// The log name a run started at time would take first.
std::string logNameAt(std::time_t time) {
  char name[64];
  std::strftime(name, sizeof name, "Log_%y%m%d-%H%M%S", std::localtime(&time));
  return name;
}

TEST(HostileFilesTest, DirectoriesWhereFilesBelongAreNoFiles) {
  TemporaryDirectory host;
  TemporaryDirectory plugins;
  CurrentDirectory inHost(host.path());
  std::filesystem::create_directory(host.path() / "Ats.ini");
  std::filesystem::create_directory(plugins.path() / "Logger.ini");
  std::filesystem::create_directory(plugins.path() / "Logger.csv");
  const std::time_t now = std::time(nullptr);
  for (std::time_t second = now; second < now + 5; ++second) {
    std::filesystem::create_directory(plugins.path() / (logNameAt(second) + ".csv"));
  }
  InstalledModule module(plugins.path(), plugin::defaultModuleFileName());
  module->Load();
  for (int frame = 1; frame <= 120; ++frame) module->Elapse(sampleState(frame), nullptr, nullptr);
  module->Dispose();
  // The default interval of 60, no columns, and the log beside the directories.
  std::string log;
  int logFiles = 0;
  for (const auto& found : module.logs()) {
    if (std::filesystem::is_directory(found)) continue;
    ++logFiles;
    log = readFileBytes(found);
    EXPECT_EQ(found.filename().string().substr(17), "_2.csv");
  }
  EXPECT_EQ(logFiles, 1);
  EXPECT_EQ(log, "\r\n\r\n\r\n");
}

// Bytes of every value but "[", so that no section can start by chance.
std::string garbage(std::size_t size) {
  std::mt19937 random(20240607);
  std::string bytes(size, '\0');
  for (char& byte : bytes) {
    byte = static_cast<char>(random() & 0xFF);
    if (byte == '[') byte = ']';
  }
  return bytes;
}

TEST(HostileFilesTest, MegabytesOfGarbageInTheSettingsFile) {
  const std::string noise = garbage(4 << 20);
  for (const Case& each :
       std::vector<Case>{{noise, "T,\r\n36000960,\r\n"},
                         {noise + "\n[Frame]\nSkip=30\n", "T,\r\n36000480,\r\n36000960,\r\n"},
                         {"[Frame]\nSkip=30\n" + noise, "T,\r\n36000480,\r\n36000960,\r\n"}}) {
    TemporaryDirectory directory;
    directory.write("Logger.csv", "time,T\n");
    directory.write("Logger.ini", each.file);
    InstalledModule module(directory.path(), plugin::defaultModuleFileName());
    EXPECT_EQ(runOnce(module, 60), each.expectedLog);
  }
}

}  // namespace
