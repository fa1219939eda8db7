#include "settings/logger_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/ini_text.h"
#include "platform/platform.h"
#include "tests/temporary_directory.h"
#include "tools/plugin_host/current_directory.h"

namespace settings {
namespace {

using namespace std::string_literals;
using plugin_host::CurrentDirectory;
using testing_support::TemporaryDirectory;

struct IniCase {
  std::string text;
  int32_t expected;  // with a default of 60
};

// text as a UTF-16 file with its byte-order mark: each byte a code unit.
std::string utf16(std::string_view text, bool bigEndian = false) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char c : text) {
    bytes += bigEndian ? '\0' : c;
    bytes += bigEndian ? c : '\0';
  }
  return bytes;
}

// The same cases run through this platform's profile read (on Windows the
// system's own) and through the module's text reader, so both readers are
// held to one truth.
const IniCase kIniCases[] = {
    {"[Frame]\nSkip=30\n", 30},
    {"[frame]\nskip=30\n", 30},
    {"[FRAME]\r\n  Skip  =  30  \r\n", 30},
    {"[Frame]\nSkip=30", 30},
    {"[Frame]\nSkip=12abc\n", 12},
    {"[Frame]\nSkip=abc\n", 0},
    {"[Frame]\nSkip=-5\n", -5},
    {"[Frame]\nSkip=0\n", 0},
    {"[Frame]\nSkip=\n", 60},
    {"[Frame]\nSkip\n", 60},
    {"[Frame]\nOther=5\n", 60},
    {"[Other]\nSkip=5\n", 60},
    {"Skip=5\n[Frame]\n", 60},
    {"[Frame]\nSkip=7\nSkip=9\n", 7},
    {"[Other]\nSkip=1\n[Frame]\nSkip=2\n[Other2]\nSkip=3\n", 2},
    {"; comment\n[Frame]\n;Skip=4\nSkip=8\n", 8},
    {"\xEF\xBB\xBF[Frame]\nSkip=11\n", 11},
    {"[Frame]\nSkip=\"30\"\n", 30},
    {"[Frame]\nSkip=+8\n", 8},
    {"[Frame]\nSkip=- 8\n", 0},
    {"", 60},
    // A lone CR ends a line as LF does; byte 26 is a blank.
    {"[Frame]\rSkip=6", 6},
    {"[Frame]\r\r\nSkip=6\r", 6},
    {"\032[Frame]\nSkip=8", 8},
    {"[Frame]\nSkip=\032", 60},
    {"[\032Frame\032]\n\032Skip\032=\0327\032", 7},
    {"[Frame]\nSkip\x1c=5", 60},
    // A name or a value ends at a NUL, after the blanks around it are taken off.
    {"[Frame]\nSkip"s + '\0' + "=4", 4},
    {"[Frame]\nSkip"s + '\0' + "junk=4", 4},
    {"[Frame]\nSkip "s + '\0' + "=4", 60},
    {"[Frame]\nSk"s + '\0' + "ip=4", 60},
    {"[Frame]\nSkip="s + '\0' + " 5", 60},
    {"[Frame]\nSkip=\"5"s + '\0' + '"', 0},
    {"[Frame"s + '\0' + "junk]\nSkip=3", 3},
    {"[Frame "s + '\0' + "]\nSkip=3", 60},
    // UTF-16, in either byte order, when the file starts with its mark.
    {utf16("[Frame]\nSkip=9\n"), 9},
    {utf16("[Frame]\nSkip=9\n", true), 9},
    {utf16("\032[Frame]\rSkip = \"12\"\r\n"), 12},
    {utf16("[Frame]\nSkip=") + "\x37\x01", 0},
    {utf16("[Frame]\nSk") + "\x69\x01" + utf16("p=7").substr(2), 60},
    {utf16("[Frame]\nSkip=9\n").substr(2), 60},
    {"\xFF\xFE[Frame]\nSkip=9\n", 60},
};

TEST(LoggerSettingsTest, ProfileReadsMatchTheSystemsProfileFunctions) {
  TemporaryDirectory directory;
  int index = 0;
  for (const IniCase& example : kIniCases) {
    const auto file = directory.write("case" + std::to_string(index++) + ".ini", example.text);
    EXPECT_EQ(platform::readProfileInt(file.string(), kSection, kIntervalKey, 60), example.expected)
        << "profile read of " << testing::PrintToString(example.text);
    EXPECT_EQ(platform::findIniInt(example.text, kSection, kIntervalKey, 60), example.expected)
        << "text read of " << testing::PrintToString(example.text);
  }
  EXPECT_EQ(platform::readProfileInt((directory.path() / "absent.ini").string(), kSection,
                                     kIntervalKey, 60),
            60);
}

TEST(LoggerSettingsTest, TheModulesOwnFileWinsOverTheSharedOne) {
  TemporaryDirectory host;
  TemporaryDirectory plugins;
  CurrentDirectory inHost(host.path());
  const std::string moduleIni = (plugins.path() / "Logger.ini").string();

  EXPECT_EQ(LoggerSettings().interval(), 60);
  LoggerSettings withoutFiles;
  EXPECT_FALSE(withoutFiles.loadSettings(moduleIni));
  EXPECT_EQ(withoutFiles.interval(), 60);

  host.write("Ats.ini", "[Frame]\nSkip=10\n");
  LoggerSettings sharedOnly;
  EXPECT_EQ(sharedOnly.interval(), 10);
  plugins.write("Logger.ini", "[Frame]\nOther=1\n");
  EXPECT_TRUE(sharedOnly.loadSettings(moduleIni));
  EXPECT_EQ(sharedOnly.interval(), 10);

  plugins.write("Logger.ini", "[Frame]\nSkip=-3\n");
  LoggerSettings both;
  both.loadSettings(moduleIni);
  EXPECT_EQ(both.interval(), -3);
}

TEST(LoggerSettingsTest, TheDecimalCommaIsReadLikeTheIntervalFromBothFiles) {
  TemporaryDirectory host;
  TemporaryDirectory plugins;
  CurrentDirectory inHost(host.path());
  const std::string moduleIni = (plugins.path() / "Logger.ini").string();
  EXPECT_FALSE(LoggerSettings().decimalComma());

  host.write("Ats.ini", "[log]\n decimalcomma = 2 \n");
  LoggerSettings shared;
  EXPECT_TRUE(shared.decimalComma());
  plugins.write("Logger.ini", "[Frame]\nSkip=5\n");
  shared.loadSettings(moduleIni);
  EXPECT_TRUE(shared.decimalComma()) << "a file without the key keeps the shared value";
  EXPECT_EQ(shared.interval(), 5);

  plugins.write("Logger.ini", "[Log]\nDecimalComma=0\n");
  LoggerSettings both;
  both.loadSettings(moduleIni);
  EXPECT_FALSE(both.decimalComma()) << "the module's own file wins";
  EXPECT_EQ(both.interval(), 60);

  host.write("Ats.ini", "[Frame]\nDecimalComma=1\n[Log]\nSkip=5\n");
  EXPECT_FALSE(LoggerSettings().decimalComma()) << "each key in its own section only";
  EXPECT_EQ(LoggerSettings().interval(), 60);
}

TEST(LoggerSettingsTest, ADirectoryWhereAFileShouldBeKeepsTheInterval) {
  TemporaryDirectory plugins;
  std::filesystem::create_directory(plugins.path() / "Logger.ini");
  LoggerSettings settings;
  settings.loadSettings((plugins.path() / "Logger.ini").string());
  EXPECT_EQ(settings.interval(), settings::kDefaultInterval);
}

}  // namespace
}  // namespace settings
