#include "tools/logtool/ui_text.h"

#include "platform/ascii_case.h"
#include "tools/logtool/system_text.h"

namespace logtool {
namespace {

struct TextRow {
  UiText id;
  const char* english;
  const char* japanese;
};

// clang-format off
constexpr TextRow kTexts[] = {
  // The summary.
  {UiText::kNote, "note", "注記"},
  {UiText::kStart, "start", "開始"},
  {UiText::kEnd, "end", "終了"},
  {UiText::kDuration, "duration", "所要時間"},
  {UiText::kRows, "rows", "行数"},
  {UiText::kDistance, "distance", "走行距離"},
  {UiText::kTopSpeed, "top speed", "最高速度"},
  {UiText::kMovingSpeed, "moving speed", "平均速度"},
  {UiText::kAverageWhileMoving, "(average while moving)", "（停車中を除く）"},
  {UiText::kStops, "stops", "停車回数"},
  {UiText::kStopLine, "stop {1}: arrived {2}, departed {3}, dwell {4}, at {5}, {6}",
   "停車 {1}: 到着 {2}、発車 {3}、停車時間 {4}、停止位置 {5}、{6}"},
  {UiText::kUnknown, "unknown", "不明"},
  {UiText::kAtTheStart, "at the start", "記録開始時"},
  {UiText::kAtTheEnd, "at the end", "記録終了時"},
  {UiText::kDoorsUnknown, "doors unknown", "ドア不明"},
  {UiText::kDoorsOpened, "doors opened", "ドア開扉あり"},
  {UiText::kDoorsStayedClosed, "doors stayed closed", "ドア閉じたまま"},
  // The notes.
  {UiText::kFormatNote, "format: {1}, {2} columns", "形式: {1}、{2} 列"},
  {UiText::kTitlesReadAs, "titles read as {1} (--encoding NAME to choose)",
   "列名は {1} として読みました（--encoding NAME で指定できます）"},
  {UiText::kInProgressNote, "in-progress log: reading stopped at its zero-filled tail",
   "記録中のログ: ゼロで埋まった末尾で読み込みを止めました"},
  {UiText::kTornRowNote, "a last row without its line break was left out",
   "改行のない最後の行は読み込んでいません"},
  {UiText::kColumnsFrom, "columns from {1}", "列の定義: {1}"},
  {UiText::kNoColumnFile, "no column file beside the log (give one with --columns FILE)",
   "ログと同じフォルダに列定義ファイルがありません（--columns FILE で指定できます）"},
  {UiText::kColumnFileMismatch, "the column file beside the log does not match it: {1}",
   "ログと同じフォルダの列定義ファイルがこのログと合いません: {1}"},
  {UiText::kChartedByTitle, "{1}; every numeric column is charted by its title",
   "{1}。数値の列はすべて列名のままグラフにしています"},
  {UiText::kNoClockNote, "no clock or time column: rows are numbered instead",
   "時刻の列がありません: 代わりに行番号を使います"},
  // The report.
  {UiText::kReportTitle, "{1} \xE2\x80\x94 run report", "{1} \xE2\x80\x94 運転記録レポート"},
  {UiText::kRunHeading, "Run: {1}", "運転記録: {1}"},
  {UiText::kChartsGrouped,
   "charts: {1} rows in groups of {2}, each drawn by its lowest and highest value",
   "グラフ: {1} 行を {2} 行ずつまとめ、それぞれの最小値と最大値で描いています"},
  {UiText::kMarkersLeftOut, "{1} markers left out (the first 5000 of each kind shown)",
   "目印 {1} 個を省きました（種類ごとに最初の 5000 個を表示）"},
  {UiText::kSummaryHeading, "Summary", "概要"},
  {UiText::kStopsHeading, "Stops", "停車一覧"},
  {UiText::kArrived, "arrived", "到着"},
  {UiText::kDeparted, "departed", "発車"},
  {UiText::kDwell, "dwell", "停車時間"},
  {UiText::kPosition, "position", "停止位置"},
  {UiText::kDoors, "doors", "ドア"},
  {UiText::kChartsHeading, "Charts", "グラフ"},
  {UiText::kXAxis, "x axis:", "横軸:"},
  {UiText::kTimeAxis, "time", "時刻"},
  {UiText::kLocationAxis, "location", "位置"},
  {UiText::kShowAll, "show all", "全体を表示"},
  {UiText::kZoomHint, "drag across a chart to zoom, double-click to show all",
   "グラフをドラッグすると拡大、ダブルクリックで全体に戻ります"},
  {UiText::kSignalChanges, "signal aspect changes", "信号現示の変化"},
  {UiText::kBeaconPassed, "beacon passed", "地上子通過"},
  {UiText::kDoorsOpenOrClose, "doors open or close", "ドアの開閉"},
  {UiText::kSpeedChart, "Speed and acceleration", "速度と加速度"},
  {UiText::kHandlesChart, "Power, brake and reverser", "力行ノッチ・ブレーキノッチ・レバーサ"},
  {UiText::kPressuresChart, "Brake pressures", "ブレーキ関係の圧力"},
  {UiText::kCurrentChart, "Current", "電流"},
  {UiText::kSignalChart, "Signal aspect and doors closed", "信号現示と戸閉め"},
  {UiText::kHandlesAndPluginChart, "Power, brake and reverser; the plug-in's commands",
   "力行ノッチ・ブレーキノッチ・レバーサと保安装置の指令"},
  {UiText::kPanelChart, "Cab panel", "運転台パネル"},
  {UiText::kPluginOverridesEvent, "plug-in overrides the driver", "プラグインが運転士の操作を上書き"},
  {UiText::kPluginFollowsEvent, "plug-in follows the driver", "プラグインが運転士の操作に従う"},
  {UiText::kOverrideMarkers, "plug-in overrides the driver or follows again",
   "プラグインが運転士の操作を上書き / 操作に戻す"},
  {UiText::kSignalEvent, "signal {1}", "信号現示 {1}"},
  {UiText::kDoorsClosedEvent, "doors closed", "戸閉め"},
  {UiText::kDoorsOpenEvent, "doors open", "ドア開"},
  {UiText::kBeaconEvent, "beacon type {1}", "地上子 種別 {1}"},
  {UiText::kBeaconSignal, ", signal {1}", "、信号 {1}"},
  {UiText::kBeaconDistance, ", distance {1}", "、距離 {1}"},
  {UiText::kBeaconData, ", data {1}", "、データ {1}"},
  {UiText::kRowAxis, "row", "行"},
  {UiText::kRowNumber, "row {1}", "{1} 行目"},
  {UiText::kEventAt, "{1} at {2}", "{2} で{1}"},
  {UiText::kLocationGoesBack,
   "The location goes back in this run: on this axis the lines follow the rows.",
   "この運転では位置が後戻りしています。この横軸では線は行の順につながります。"},
  {UiText::kSavePng, "save as PNG", "PNG で保存"},
  {UiText::kOtherColumnsLeftOut,
   "charts: the first {1} numeric columns of no known key are charted; {2} more are not",
   "グラフ: キーのわからない数値の列は最初の {1} 列だけを描いています（残り {2} 列は描いていません）"},
  // The comparison; its stop table's columns and its charts' buttons are the report's.
  {UiText::kComparisonTitle, "{1} \xE2\x80\x94 run comparison", "{1} \xE2\x80\x94 運転比較"},
  {UiText::kComparisonHeading, "Runs compared along the route", "運転比較（距離程基準）"},
  {UiText::kSharedStretch, "Compared over the stretch all runs share: {1} \xE2\x80\x93 {2} ({3}).",
   "比較区間（全運転に共通の区間）: {1} 〜 {2}（{3}）。"},
  {UiText::kLocationRising, "location rising", "距離程が増える向き"},
  {UiText::kLocationFalling, "location falling", "距離程が減る向き"},
  {UiText::kStationsPaired, "Stops of different runs within this many metres are one station: {1}.",
   "停止位置の差が {1} 以内の停車は同じ停車駅とみなします。"},
  {UiText::kStation, "station", "停車駅"},
  {UiText::kNoStop, "no stop", "通過 / 停車なし"},
  {UiText::kEachRun, "Each run", "運転ごとの概要"},
  {UiText::kCompareHint,
   "drag across a chart to zoom, double-click to show all, point at a line to name its run",
   "グラフをドラッグすると拡大、ダブルクリックで全体に戻ります。線を指すとその運転を表示します"},
  {UiText::kRunCurveChart, "Run curves: speed over location (km/h)", "運転曲線: 距離程と速度 (km/h)"},
  {UiText::kTimeDifferenceChart, "Time difference to the first run (s; negative: ahead of it)",
   "運転 1 との時間差（秒、マイナスは運転 1 より早い）"},
  {UiText::kNotchChart, "Power and brake notches (brake dashed)",
   "力行ノッチとブレーキノッチ（ブレーキノッチは破線）"},
  {UiText::kBrakeCylinderChart, "Brake cylinder pressure (kPa)", "ブレーキシリンダ圧力 (kPa)"},
  {UiText::kPowerLine, "power", "力行"},
  {UiText::kBrakeLine, "brake", "ブレーキ"},
  {UiText::kRunLabel, "run {1}: {2}", "運転 {1}: {2}"},
  {UiText::kPointedAt, "pointing at:", "指している線:"},
};
// clang-format on

const TextRow* rowOf(UiText text) {
  for (const TextRow& row : kTexts) {
    if (row.id == text) return &row;
  }
  return nullptr;
}

}  // namespace

std::optional<Language> languageNamed(std::string_view name) {
  if (platform::equalIgnoringAsciiCase(name, "en")) return Language::kEnglish;
  if (platform::equalIgnoringAsciiCase(name, "ja")) return Language::kJapanese;
  return std::nullopt;
}

const char* languageCode(Language language) {
  return language == Language::kJapanese ? "ja" : "en";
}

Language userLanguageOrEnglish() {
  return languageNamed(userLanguage()).value_or(Language::kEnglish);
}

const char* tableText(UiText text, Language language) {
  const TextRow* row = rowOf(text);
  if (row == nullptr) return nullptr;
  return language == Language::kJapanese ? row->japanese : row->english;
}

const char* uiText(UiText text, Language language) {
  const char* found = tableText(text, language);
  if (found == nullptr) found = tableText(text, Language::kEnglish);
  return found == nullptr ? "" : found;
}

std::string fillText(UiText text, Language language, const std::vector<std::string>& values) {
  std::string filled;
  for (const char* at = uiText(text, language); *at != '\0'; ++at) {
    const std::size_t index = static_cast<std::size_t>(at[1] - '1');
    if (at[0] == '{' && at[1] >= '1' && at[1] <= '9' && at[2] == '}' && index < values.size()) {
      filled += values[index];
      at += 2;
    } else {
      filled.push_back(*at);
    }
  }
  return filled;
}

}  // namespace logtool
