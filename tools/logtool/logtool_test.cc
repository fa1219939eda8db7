#include "tools/logtool/logtool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <utility>
#include <vector>

#include "tests/temporary_directory.h"
#include "tools/logtool/run_scan.h"
#include "tools/logtool/system_text.h"
#include "tools/logtool/title_encoding.h"

namespace logtool {
namespace {

using testing_support::readFileBytes;
using testing_support::TemporaryDirectory;

const std::string kSource = LOGTOOL_SOURCE_DIRECTORY;

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

Outcome run(const std::vector<std::string>& arguments) {
  std::ostringstream out, err;
  const int status = runLogtool(arguments, out, err, false);
  return Outcome{status, out.str(), err.str()};
}

// A copy of the station stop's log, as the module wrote it, with the
// example column file beside it.
struct StationStop {
  TemporaryDirectory directory;
  std::string log = directory
                        .write("Log_260101-084210.csv",
                               readFileBytes(kSource + "/tests/expected/station_stop.csv"))
                        .string();
  StationStop() { directory.write("Logger.csv", readFileBytes(kSource + "/examples/Logger.csv")); }
};

// The summary without its notes.
std::string figures(const std::string& summary) {
  std::istringstream lines(summary);
  std::string line, kept;
  while (std::getline(lines, line)) {
    if (line.rfind("note: ", 0) != 0) kept += line + "\n";
  }
  return kept;
}

TEST(LogtoolTest, SummarisesTheStationStop) {
  StationStop run_;
  const Outcome summary = run({"summary", run_.log});
  ASSERT_EQ(summary.status, kDone) << summary.err;
  EXPECT_NE(summary.out.find("note: columns from "), std::string::npos);
  EXPECT_NE(summary.out.find("start:        08:42:11.000\nend:          08:43:40.000\n"),
            std::string::npos);
  EXPECT_NE(summary.out.find("rows:         90\n"), std::string::npos);
  EXPECT_NE(summary.out.find("top speed:    60.0 km/h\n"), std::string::npos);
  // The scenario stops at 36 s, opens the doors at 38 s and starts at 62 s.
  EXPECT_NE(
      summary.out.find("stops:        1\n  stop 1: arrived 08:42:46.000, departed 08:43:12.000, "
                       "dwell 26 s, at 2533.3 m, doors opened\n"),
      std::string::npos)
      << summary.out;
}

TEST(LogtoolTest, TheOtherFormatAndAnInProgressLogGiveTheSameFigures) {
  StationStop run_;
  const std::string expected = figures(run({"summary", run_.log}).out);
  const Outcome convert = run({"convert", run_.log, "--decimal-comma"});
  ASSERT_EQ(convert.status, kDone) << convert.err;
  const std::string comma =
      (run_.directory.path() / "Log_260101-084210.decimal-comma.csv").string();
  EXPECT_EQ(convert.out, "converted: " + comma + " (90 rows, decimal-comma)\n");
  const Outcome commaSummary = run({"summary", comma});
  EXPECT_NE(commaSummary.out.find("note: format: decimal-comma"), std::string::npos);
  EXPECT_EQ(figures(commaSummary.out), expected);

  // Cut inside row 60 and zero-filled, as a crashed run's log is left.
  const std::string bytes = readFileBytes(run_.log);
  std::size_t cut = 0;
  for (int line = 0; line < 60; ++line) cut = bytes.find('\n', cut) + 1;
  const std::string partial =
      run_.directory.write("Log_partial.csv", bytes.substr(0, cut + 20) + std::string(8192, '\0'))
          .string();
  const Outcome partialSummary = run({"summary", partial});
  ASSERT_EQ(partialSummary.status, kDone) << partialSummary.err;
  EXPECT_NE(partialSummary.out.find("in-progress log"), std::string::npos);
  EXPECT_NE(partialSummary.out.find("rows:         59\n"), std::string::npos);
  EXPECT_NE(partialSummary.out.find("end:          08:43:09.000\n"), std::string::npos);
}

TEST(LogtoolTest, WritesAReportThatNeedsNoNetwork) {
  StationStop run_;
  const Outcome report = run({"report", run_.log});
  ASSERT_EQ(report.status, kDone) << report.err;
  const std::string path = defaultReportPath(run_.log);
  EXPECT_EQ(report.out, "report: " + path + "\n");
  const std::string html = readFileBytes(path);
  for (const char* part :
       {"<pre id=\"summary\">", "<tr class=\"stop\"><td>1</td>", "\"id\":\"speed\"",
        "\"id\":\"handles\"", "\"id\":\"pressures\"", "\"id\":\"current\"", "\"kind\":\"beacon\"",
        "\"kind\":\"doors\"", "var uPlot="}) {
    EXPECT_NE(html.find(part), std::string::npos) << part;
  }
  for (const char* outside : {"src=", "<link", "@import", "url("}) {
    EXPECT_EQ(html.find(outside), std::string::npos) << outside;
  }
}

// Rows are numbered for the charts, never taken for seconds in the summary.
TEST(LogtoolTest, ALogWithoutAClockHasNoTimesInItsSummary) {
  TemporaryDirectory directory;
  directory.write("Logger.csv", "LOCATION,Location m\r\nSPEED,Speed km/h\r\n");
  const std::string log = directory
                              .write("Log_1.csv",
                                     "Location m,Speed km/h,\r\n0,0,\r\n0,0,\r\n10,36,\r\n"
                                     "20,0,\r\n20,0,\r\n")
                              .string();
  const Outcome summary = run({"summary", log});
  ASSERT_EQ(summary.status, kDone) << summary.err;
  EXPECT_NE(summary.out.find("start:        unknown\nend:          unknown\n"), std::string::npos)
      << summary.out;
  EXPECT_NE(summary.out.find("distance:     20.0 m\n"), std::string::npos) << summary.out;
  EXPECT_NE(summary.out.find("stop 2: arrived unknown, departed unknown, dwell unknown, at 20.0 m"),
            std::string::npos)
      << summary.out;
  EXPECT_NE(summary.out.find("no clock or time column: rows are numbered instead"),
            std::string::npos);
}

TEST(LogtoolTest, WithoutAColumnFileChartsEveryNumericColumnAndSaysSo) {
  TemporaryDirectory directory;
  const std::string log = directory
                              .write("Log_1.csv",
                                     "Clock,Speed km/h,Doors,Never,\r\n10:00:00.000,1,true,,\r\n"
                                     "10:00:01.000,2,false,,\r\n")
                              .string();
  const Outcome report = run({"report", log, "-o", (directory.path() / "r.html").string()});
  ASSERT_EQ(report.status, kDone) << report.err;
  EXPECT_NE(report.err.find("no column file beside the log"), std::string::npos);
  const std::string html = readFileBytes(directory.path() / "r.html");
  EXPECT_NE(html.find("\"id\":\"column-2\",\"title\":\"Speed km/h\""), std::string::npos);
  EXPECT_NE(html.find("\"id\":\"column-3\",\"title\":\"Doors\""), std::string::npos);
  EXPECT_EQ(html.find("\"id\":\"column-4\""), std::string::npos);  // no values: not charted
  EXPECT_NE(html.find("\"timeTitle\":\"Clock\""), std::string::npos);
}

TEST(LogtoolTest, ExtremeValuesInKnownColumnsAreSummarised) {
  TemporaryDirectory directory;
  directory.write("Logger.csv", "time_hhmmss,Time\r\nspeed,Speed\r\npilotlamp,Doors\r\n");
  const std::string log = directory
                              .write("Log_1.csv",
                                     "Time,Speed,Doors,\r\n9999999999:00:00.000,inf,1e+300,\r\n"
                                     "-596:-31:-23.-648,-1.79769e+308,-1e+300,\r\n"
                                     "00:00:00.000,nan,0,\r\n")
                              .string();
  const Outcome summary = run({"summary", log});
  EXPECT_EQ(summary.status, kDone) << summary.err;
  EXPECT_NE(summary.out.find("rows:         3\n"), std::string::npos) << summary.out;
  EXPECT_EQ(run({"report", log}).status, kDone);
}

// A failed conversion leaves every file it did not make as it was, and no
// temporary file behind; a whole one replaces an older conversion.
TEST(LogtoolTest, ConvertNeverRemovesWhatItDidNotCreate) {
  StationStop run_;
  const auto files = [&] {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(run_.directory.path()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  };
  const std::string comma =
      run_.directory
          .write("Log_A.csv",
                 readFileBytes(kSource + "/tests/expected/whole_run_decimal_comma.csv"))
          .string();
  const auto precious = run_.directory.write("Log_A.decimal-comma.csv", "precious\n");
  const auto keep = run_.directory.write("keep.csv", "keep\n");
  const std::vector<std::string> before = files();
  const Outcome already = run({"convert", comma, "--decimal-comma"});
  EXPECT_EQ(already.status, kBadInput);
  EXPECT_NE(already.err.find("the log is already decimal-comma"), std::string::npos) << already.err;
  const Outcome missing = run({"convert", (run_.directory.path() / "Missing.csv").string(),
                               "--decimal-comma", "-o", keep.string()});
  EXPECT_EQ(missing.status, kBadInput);
  EXPECT_EQ(readFileBytes(precious), "precious\n");
  EXPECT_EQ(readFileBytes(keep), "keep\n");
  EXPECT_EQ(files(), before);

  const Outcome converted = run({"convert", run_.log, "--decimal-comma", "-o", keep.string()});
  ASSERT_EQ(converted.status, kDone) << converted.err;
  EXPECT_EQ(readFileBytes(keep).substr(0, 5), "Time;");
  EXPECT_EQ(files(), before);
}

// A page never replaces a log, nor a file logtool did not write, unless forced.
TEST(LogtoolTest, APageKeepsTheLogAndTheUsersFiles) {
  StationStop run_;
  const std::string logBytes = readFileBytes(run_.log);
  const Outcome onLog = run({"report", run_.log, "-o", run_.log});
  EXPECT_EQ(onLog.status, kBadInput);
  EXPECT_EQ(onLog.err,
            run_.log + ": is the log " + run_.log + " itself; the page would replace it\n");
  EXPECT_EQ(readFileBytes(run_.log), logBytes);

  const auto notes = run_.directory.write("notes.html", "<p>my notes</p>\n");
  const Outcome onNotes = run({"report", run_.log, "-o", notes.string()});
  EXPECT_EQ(onNotes.status, kBadInput);
  EXPECT_EQ(
      onNotes.err,
      notes.string() + ": exists and is not a page logtool wrote; kept (--force replaces it)\n");
  EXPECT_EQ(readFileBytes(notes), "<p>my notes</p>\n");
  ASSERT_EQ(run({"report", run_.log, "-o", notes.string(), "--force"}).status, kDone);
  EXPECT_NE(readFileBytes(notes).find("<pre id=\"summary\">"), std::string::npos);
  // Its own page it replaces without being told.
  EXPECT_EQ(run({"report", run_.log, "-o", notes.string()}).status, kDone);
}

// However many columns a log has, the summary gathers no chart data and the
// report charts a bounded number of them and names the rest.
TEST(LogtoolTest, AMillionColumnsAreSummarisedAndReportedInBoundedMemory) {
  TemporaryDirectory directory;
  const int columns = 1000000;
  std::string bytes;
  for (int i = 0; i < columns; ++i) bytes += "c" + std::to_string(i) + ",";
  bytes += "\r\n";
  for (int row = 0; row < 3; ++row) {
    for (int i = 0; i < columns; ++i) bytes += std::to_string((row + i) % 10) + ",";
    bytes += "\r\n";
  }
  const std::string log = directory.write("Log_wide.csv", bytes).string();
  const Outcome summary = run({"summary", log});
  ASSERT_EQ(summary.status, kDone) << summary.err;
  EXPECT_NE(summary.out.find("rows:         3\n"), std::string::npos) << summary.out;
  const Outcome report = run({"report", log});
  ASSERT_EQ(report.status, kDone) << report.err;
  const std::string html = readFileBytes(defaultReportPath(log));
  EXPECT_LT(html.size(), 200000u);
  EXPECT_NE(html.find("\"id\":\"column-24\""), std::string::npos);
  EXPECT_EQ(html.find("\"id\":\"column-25\""), std::string::npos);
  EXPECT_NE(
      html.find("the first 24 numeric columns of no known key are charted; 999976 more are not"),
      std::string::npos);
}

TEST(LogtoolTest, BadUsageAndBadInputEndWithStatusTwo) {
  TemporaryDirectory directory;
  const std::string ragged = directory.write("Log_1.csv", "A,B,\r\n1,2,\r\n3,\r\n").string();
  const std::string columns = directory.write("cols.csv", "speed,A\r\nbc,C\r\n").string();
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, "logtool: no command given\nusage:"},
      {{"plot", ragged}, "logtool: unknown command plot"},
      {{"summary"}, "logtool: summary needs a LOG"},
      {{"convert", ragged}, "logtool: convert needs --decimal-comma or --decimal-point"},
      {{"summary", ragged, "--fast"}, "logtool: unknown option --fast for summary"},
      {{"summary", ragged}, ragged + ":3: ragged row: 1 fields, the title row has 2\n"},
      {{"summary", (directory.path() / "none.csv").string()}, "none.csv: no such file\n"},
      {{"report", ragged, "--columns", columns},
       columns + ":2: title 'C' is not the log's column 2 'B'\n"},
  };
  for (const auto& [arguments, message] : cases) {
    const Outcome outcome = run(arguments);
    EXPECT_EQ(outcome.status, kBadInput) << message;
    EXPECT_NE(outcome.err.find(message), std::string::npos) << outcome.err;
  }
  EXPECT_EQ(run({"--help"}).status, kDone);
}

TEST(LogtoolTest, TitlesAreReadInTheirEncodingAndConvertedAsTheyAre) {
  TemporaryDirectory directory;
  for (const char* folder : {"marked", "western"}) {
    std::filesystem::create_directory(directory.path() / folder);
  }
  const std::string rows = "08:00:00.000,0,\r\n08:00:01.000,10,\r\n";
  // "速度 km/h" after the mark, its column file in UTF-16; "Bär km/h" in code
  // page 1252, which is valid code page 932 too.
  const std::string marked =
      directory
          .write("marked/Log_1.csv", "\xEF\xBB\xBFTime,\xE9\x80\x9F\xE5\xBA\xA6 km/h,\r\n" + rows)
          .string();
  directory.write(
      "marked/Logger.csv",
      std::string("\xFF\xFEt\0i\0m\0e\0_\0h\0h\0m\0m\0s\0s\0,\0T\0i\0m\0e\0\n\0s\0p\0e\0e\0"
                  "d\0,\0\x1F\x90\xA6\x5E \0k\0m\0/\0h\0\n\0",
                  64));
  const std::string western =
      directory.write("western/Log_1.csv", "Time,B\xE4r km/h,\r\n" + rows).string();
  directory.write("western/Logger.csv", "time_hhmmss,Time\r\nspeed,B\xE4r km/h\r\n");

  const Outcome summary = run({"summary", marked, "--lang", "en"});
  EXPECT_EQ(summary.status, kDone) << summary.err;
  EXPECT_NE(summary.out.find("note: format: decimal-point, 2 columns\nnote: columns from"),
            std::string::npos)
      << summary.out;
  EXPECT_NE(summary.out.find("top speed:    10.0 km/h"), std::string::npos) << summary.out;
  // Guessed: the system's ANSI code page (Windows), else code page 932 where the bytes are valid in
  // it.
  const unsigned system = systemAnsiCodePage();
  EXPECT_NE(
      run({"summary", western})
          .out.find("titles read as " + codePageName(system != 0 ? system : kJapaneseCodePage)),
      std::string::npos);
  EXPECT_NE(run({"summary", western, "--encoding", "CP1252"}).out.find("titles read as cp1252"),
            std::string::npos);
  const std::string report = (directory.path() / "western.html").string();
  ASSERT_EQ(run({"report", western, "--encoding", "cp1252", "-o", report}).status, kDone);
  EXPECT_NE(readFileBytes(report).find("\"B\xC3\xA4r km/h\""), std::string::npos);

  for (const std::string& log : {marked, western}) {
    const std::string converted = (directory.path() / "converted.csv").string();
    ASSERT_EQ(run({"convert", log, "--decimal-comma", "-o", converted}).status, kDone);
    const std::string original = readFileBytes(log);
    std::string titles = original.substr(0, original.find("\r\n"));
    for (char& c : titles) c = c == ',' ? ';' : c;
    EXPECT_EQ(readFileBytes(converted).substr(0, titles.size()), titles);
  }
  const Outcome unknown = run({"summary", marked, "--encoding", "latin9"});
  EXPECT_EQ(unknown.status, kBadInput);
  EXPECT_NE(unknown.err.find("logtool: unknown encoding latin9"), std::string::npos);
  // A message shows a title as written.
  const std::string other =
      directory.write("other.csv", "time_hhmmss,Time\r\nspeed,Bier\r\n").string();
  EXPECT_NE(run({"summary", western, "--encoding", "cp1252", "--columns", other})
                .err.find("is not the log's column 2 'B\xC3\xA4r km/h'"),
            std::string::npos);
}

}  // namespace
}  // namespace logtool

namespace logtool {
namespace {

// A chained plug-in's handles are charted beside the driver's, each stretch
// where they differ is marked, and the cab panel's entries get a chart of
// their own.
TEST(LogtoolTest, ChartsThePluginsHandlesAndPanelAndMarksItsOverrides) {
  TemporaryDirectory directory;
  directory.write("Logger.csv",
                  "time,Ms\npower,Power\nbrake,Brake\nplugin_power,P power\n"
                  "plugin_brake,P brake\npanel_0,Lamp\nPANEL_12,Gauge\nsound_0,Chime\n");
  const std::string log = directory
                              .write("Log_1.csv",
                                     "Ms,Power,Brake,P power,P brake,Lamp,Gauge,Chime,\r\n"
                                     "1000,3,0,3,0,0,5,0,\r\n2000,3,0,0,9,1,5,1,\r\n"
                                     "3000,3,0,0,9,1,6,0,\r\n4000,0,4,0,4,0,6,0,\r\n")
                              .string();
  ScanOptions options;
  options.charts = true;
  const ScannedRun run = scanRun(log, options);
  std::map<std::string, std::vector<std::string>> charts;
  for (const ChartSpec& chart : run.charts) {
    for (const ChartLine& line : chart.lines) charts[chart.id].push_back(line.label);
  }
  EXPECT_EQ(charts["handles"], (std::vector<std::string>{"Power", "Brake", "P power", "P brake"}));
  EXPECT_EQ(charts["panel"], (std::vector<std::string>{"Lamp", "Gauge"}));
  std::vector<std::pair<double, std::string>> overrides;
  for (const RunEvent& event : run.events) {
    if (event.kind == "override") overrides.emplace_back(event.time, event.text);
  }
  EXPECT_EQ(overrides,
            (std::vector<std::pair<double, std::string>>{{2.0, "plug-in overrides the driver"},
                                                         {4.0, "plug-in follows the driver"}}));
}

}  // namespace
}  // namespace logtool
