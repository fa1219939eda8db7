// The report and the summary in the user's language and encoding: headless
// Chromium shows every title as written, whatever the encoding of the log
// and its column file, and a Japanese report or summary keeps no English.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/temporary_directory.h"
#include "tools/logtool/browser_check.h"

namespace {

using browser_check::BrowserTest;
using browser_check::englishIn;
using browser_check::outputOf;
using browser_check::quoted;
using testing_support::readFileBytes;

// The page's DOM after its script ran.
std::string renderedPage(const std::filesystem::path& page,
                         const testing_support::TemporaryDirectory& profile) {
  return browser_check::renderedPage(page, profile.path());
}

const std::string kSource = LOGTOOL_SOURCE_DIRECTORY;
const std::string kMark = "\xEF\xBB\xBF";
const std::string kReplacement = "\xEF\xBF\xBD";

// text's UTF-16 little-endian code units after their mark.
std::string utf16File(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

// The texts of the elements of class className in a dumped DOM.
std::vector<std::string> textsOfClass(const std::string& dom, const std::string& className) {
  std::vector<std::string> texts;
  const std::string opening = "class=\"" + className + "\">";
  for (std::size_t at = dom.find(opening); at != std::string::npos; at = dom.find(opening, at)) {
    at += opening.size();
    texts.push_back(dom.substr(at, dom.find('<', at) - at));
  }
  return texts;
}

using ReportLanguageTest = BrowserTest;

struct EncodedLog {
  const char* name;
  std::string titleRow;             // as the module writes it from the column file
  std::string columnFile;           // keys time_hhmmss, speed and bc, or pilotlamp last
  std::vector<std::string> titles;  // as written, in UTF-8
};

TEST_F(ReportLanguageTest, TitlesInEachEncodingShowAsWritten) {
  // "時刻", "速度 km/h", "ブレーキシリンダ圧力 kPa" in UTF-8 and in code page 932.
  const std::vector<std::string> japanese = {
      "\xE6\x99\x82\xE5\x88\xBB", "\xE9\x80\x9F\xE5\xBA\xA6 km/h",
      "\xE3\x83\x96\xE3\x83\xAC\xE3\x83\xBC\xE3\x82\xAD\xE3\x82\xB7\xE3\x83\xAA\xE3\x83\xB3\xE3\x83"
      "\x80\xE5\x9C\xA7\xE5\x8A\x9B kPa"};
  const std::string japanese932 =
      "\x8E\x9E\x8D\x8F,\x91\xAC\x93x "
      "km/h,\x83u\x83\x8C\x81[\x83L\x83V\x83\x8A\x83\x93\x83_\x88\xB3"
      "\x97\xCD kPa,";
  const std::string japaneseRow = japanese[0] + "," + japanese[1] + "," + japanese[2] + ",";
  const auto japaneseColumns = [&](const std::string& titles) {
    const std::size_t first = titles.find(','), second = titles.find(',', first + 1);
    return "time_hhmmss," + titles.substr(0, first) + "\r\nspeed," +
           titles.substr(first + 1, second - first - 1) + "\r\nbc," +
           titles.substr(second + 1, titles.size() - second - 2) + "\r\n";
  };
  const EncodedLog cases[] = {
      {"UTF-8 with mark, from a UTF-16 column file", kMark + japaneseRow,
       utf16File(u"time_hhmmss,\u6642\u523B\r\nspeed,\u901F\u5EA6 km/h\r\nbc,\u30D6\u30EC\u30FC"
                 u"\u30AD\u30B7\u30EA\u30F3\u30C0\u5727\u529B kPa\r\n"),
       japanese},
      {"UTF-8 with mark, from a marked column file", kMark + japaneseRow,
       kMark + japaneseColumns(japaneseRow), japanese},
      {"UTF-8 without mark", japaneseRow, japaneseColumns(japaneseRow), japanese},
      {"code page 932", japanese932, japaneseColumns(japanese932), japanese},
      {"code page 1252",
       "Zeit,Tempo km/h,T\xFCren zu,",
       "time_hhmmss,Zeit\r\nspeed,Tempo km/h\r\npilotlamp,T\xFCren zu\r\n",
       {"Zeit", "Tempo km/h", "T\xC3\xBCren zu"}},
  };
  int number = 0;
  for (const EncodedLog& example : cases) {
    const auto folder = directory_.path() / std::to_string(++number);
    std::filesystem::create_directory(folder);
    const bool doors = example.columnFile.find("pilotlamp") != std::string::npos;
    std::string log = example.titleRow + "\r\n";
    for (int second = 0; second < 5; ++second) {
      log += "08:00:0" + std::to_string(second) + ".000," + std::to_string(second * 10) + "," +
             (doors ? "true" : "490") + ",\r\n";
    }
    directory_.write(std::to_string(number) + "/Log_1.csv", log);
    directory_.write(std::to_string(number) + "/Logger.csv", example.columnFile);
    const std::string report = outputOf(std::string(LOGTOOL_PROGRAM) + " report --lang en " +
                                        quoted(folder / "Log_1.csv"));
    ASSERT_NE(report.find("report: "), std::string::npos) << example.name << report;
    const std::string dom = renderedPage(folder / "Log_1.html", directory_);
    const std::vector<std::string> legends = textsOfClass(dom, "u-label");
    for (const std::string& title : example.titles) {
      EXPECT_NE(std::find(legends.begin(), legends.end(), title), legends.end())
          << example.name << ": no legend reads " << title;
    }
    EXPECT_NE(dom.find("columns from"), std::string::npos) << example.name;
    EXPECT_EQ(dom.find(kReplacement), std::string::npos) << example.name;
  }
}

TEST_F(ReportLanguageTest, AJapaneseReportAndSummaryKeepNoEnglish) {
  // The station stop with the Japanese example column file's titles.
  const std::string english = readFileBytes(kSource + "/tests/expected/station_stop.csv");
  const std::string columns = readFileBytes(kSource + "/examples/Logger.ja.csv");
  std::string titles = kMark;
  for (std::size_t at = kMark.size(); at < columns.size(); at = columns.find('\n', at) + 1) {
    const std::size_t comma = columns.find(',', at);
    titles += columns.substr(comma + 1, columns.find('\r', comma) - comma - 1) + ",";
  }
  const auto log = directory_.write("Log_1.csv", titles + english.substr(english.find("\r\n")));
  directory_.write("Logger.csv", columns);
  const std::string program = std::string(LOGTOOL_PROGRAM);
  outputOf(program + " report --lang ja " + quoted(log));
  const std::string dom = renderedPage(directory_.path() / "Log_1.html", directory_);
  ASSERT_NE(dom.find("<html lang=\"ja\">"), std::string::npos);
  EXPECT_EQ(englishIn(browser_check::visibleText(dom)), std::vector<std::string>());
  // The charts were drawn with their Japanese titles.
  EXPECT_FALSE(textsOfClass(dom, "u-label").empty());

  const std::string summary = outputOf(program + " summary --lang ja " + quoted(log));
  ASSERT_NE(summary.find("\xE5\x81\x9C\xE8\xBB\x8A 1:"), std::string::npos)
      << summary;  // "停車 1:"
  std::string withoutPaths;
  for (std::size_t at = 0; at < summary.size();) {
    const std::size_t end = std::min(summary.find('\n', at), summary.size());
    const std::string line = summary.substr(at, end - at);
    if (line.find(directory_.path().string()) == std::string::npos) withoutPaths += line + "\n";
    at = end + 1;
  }
  EXPECT_EQ(englishIn(withoutPaths), std::vector<std::string>()) << summary;
}

TEST_F(ReportLanguageTest, AJapaneseReportOfAChainedRunKeepsNoEnglish) {
  // The built-in trip through SpeedGuard, which brakes above 80 km/h and
  // lights panel entry 0: the plug-in's handles, the cab panel and the
  // markers where the plug-in overrode the driver, with Japanese titles.
  const std::filesystem::path module = LOGGER_MODULE;
  const std::string guard = "SpeedGuard" + module.extension().string();
  std::filesystem::copy_file(module, directory_.path() / module.filename());
  std::filesystem::copy_file(module.parent_path() / guard, directory_.path() / guard);
  directory_.write("Logger.ini", "[Frame]\nSkip=60\n[Chain]\nPlugin=" + guard + "\n");
  // "保安装置 力行", "保安装置 ブレーキ", "ATS 表示灯", "ATS ベル".
  directory_.write(
      "Logger.csv",
      readFileBytes(kSource + "/examples/Logger.ja.csv") +
          "plugin_power,\xE4\xBF\x9D\xE5\xAE\x89\xE8\xA3\x85\xE7\xBD\xAE "
          "\xE5\x8A\x9B\xE8\xA1\x8C\r\nplugin_brake,"
          "\xE4\xBF\x9D\xE5\xAE\x89\xE8\xA3\x85\xE7\xBD\xAE "
          "\xE3\x83\x96\xE3\x83\xAC\xE3\x83\xBC\xE3\x82\xAD\r\npanel_0,ATS "
          "\xE8\xA1\xA8\xE7\xA4\xBA\xE7\x81\xAF\r\nsound_0,ATS \xE3\x83\x99\xE3\x83\xAB\r\n");
  outputOf("cd " + quoted(directory_.path()) + " && " + SIMHOST_PROGRAM + " --quiet --module ./" +
           module.filename().string());
  std::vector<std::filesystem::path> logs;
  for (const auto& entry : std::filesystem::directory_iterator(directory_.path())) {
    if (entry.path().filename().string().rfind("Log_", 0) == 0) logs.push_back(entry.path());
  }
  ASSERT_EQ(logs.size(), 1u);
  outputOf(std::string(LOGTOOL_PROGRAM) + " report --lang ja " + quoted(logs[0]));
  std::filesystem::path page = logs[0];
  const std::string dom = renderedPage(page.replace_extension(".html"), directory_);
  EXPECT_EQ(englishIn(browser_check::visibleText(dom)), std::vector<std::string>());
  // What pointing at each kind of marker shows, the plug-in's overrides among them.
  std::string shown;
  bool override = false;
  for (const browser_check::CheckLine& line : browser_check::selfCheck(dom)) {
    if (line.words.empty() || line.words[0] != "cursor") continue;
    shown += line.fields.at("shown") + "\n";
    override = override || line.fields.at("kind") == "override";
  }
  EXPECT_TRUE(override) << shown;
  EXPECT_EQ(englishIn(shown), std::vector<std::string>()) << shown;
  EXPECT_NE(dom.find("id=\"chart-panel\""), std::string::npos);
}

}  // namespace
