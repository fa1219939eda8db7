// Column files as users' editors save them, in each encoding, through the
// exported entry points: the header row's bytes and the rows' first column.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/module_fixture.h"

namespace {

using testing_support::InstalledModule;
using testing_support::stateAt;
using testing_support::TemporaryDirectory;

const std::string kMark = "\xEF\xBB\xBF";

// text's UTF-16 code units after the UTF-16 mark, in the byte order given.
std::string utf16File(const std::u16string& text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

// The log of a two-frame run beside this column file and settings.
std::string runLog(const std::string& columns, const std::string& settings) {
  TemporaryDirectory directory;
  directory.write("Logger.csv", columns);
  directory.write("Logger.ini", settings);
  InstalledModule module(directory.path(), plugin::defaultModuleFileName());
  module->Load();
  module->Elapse(stateAt(1000, 45.5f), nullptr, nullptr);
  module->Elapse(stateAt(2000, 50.25f), nullptr, nullptr);
  module->Dispose();
  return module.onlyLog();
}

struct EncodedColumnFile {
  const char* name;
  std::string file;    // "speed,<title>" and "time,T", as the editor saves them
  std::string header;  // the header row the log starts with
};

TEST(ColumnFileEncodingTest, EachEncodingGivesItsHeaderAndFillsTheFirstColumn) {
  const std::string speedUtf8 = "\xE9\x80\x9F\xE5\xBA\xA6 km/h";  // "速度 km/h"
  const EncodedColumnFile cases[] = {
      {"ASCII", "speed,Speed km/h\r\ntime,T\r\n", "Speed km/h,T,\r\n"},
      {"code page 932", "speed,\x91\xAC\x93\x78 km/h\r\ntime,T\r\n",
       "\x91\xAC\x93\x78 km/h,T,\r\n"},
      {"code page 1252", "speed,T\xFCren\r\ntime,T\r\n", "T\xFCren,T,\r\n"},
      {"UTF-8", "speed," + speedUtf8 + "\r\ntime,T\r\n", kMark + speedUtf8 + ",T,\r\n"},
      {"UTF-8 with mark", kMark + "speed," + speedUtf8 + "\r\ntime,T\r\n",
       kMark + speedUtf8 + ",T,\r\n"},
      {"ASCII UTF-8 with mark", kMark + "speed,Speed\r\ntime,T\r\n", kMark + "Speed,T,\r\n"},
      {"UTF-16 little-endian", utf16File(u"speed,\u901F\u5EA6 km/h\r\ntime,T\r\n", false),
       kMark + speedUtf8 + ",T,\r\n"},
      {"UTF-16 big-endian", utf16File(u"speed,\u901F\u5EA6 km/h\r\ntime,T\r\n", true),
       kMark + speedUtf8 + ",T,\r\n"},
  };
  for (const EncodedColumnFile& example : cases) {
    std::string commaHeader = example.header;
    for (char& c : commaHeader) c = c == ',' ? ';' : c;
    EXPECT_EQ(runLog(example.file, "[Frame]\nSkip=1\n"),
              example.header + "45.5,1000,\r\n50.25,2000,\r\n")
        << example.name;
    EXPECT_EQ(runLog(example.file, "[Frame]\nSkip=1\n[Log]\nDecimalComma=1\n"),
              commaHeader + "\"45,5\";1000;\r\n\"50,25\";2000;\r\n")
        << example.name << ", decimal comma";
  }
}

}  // namespace
