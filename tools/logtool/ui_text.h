// Every fixed text a user reads in the summary, the report and the
// comparison, one table per language. A text's "{1}", "{2}"... stand for what fillText puts in.
#ifndef LOGGER_TOOLS_LOGTOOL_UI_TEXT_H_
#define LOGGER_TOOLS_LOGTOOL_UI_TEXT_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace logtool {

enum class Language { kEnglish, kJapanese };

// The language a --lang name gives ("en", "ja"); none for another name.
std::optional<Language> languageNamed(std::string_view name);

// The code of a language as --lang and HTML's lang take it.
const char* languageCode(Language language);

// The user's language where logtool has its texts (userLanguage), else English.
Language userLanguageOrEnglish();

// The texts, by what they say.
// clang-format off
#define LOGTOOL_UI_TEXTS(X) \
  X(kNote) X(kStart) X(kEnd) X(kDuration) X(kRows) X(kDistance) X(kTopSpeed) \
  X(kMovingSpeed) X(kAverageWhileMoving) X(kStops) X(kStopLine) X(kUnknown) X(kAtTheStart) \
  X(kAtTheEnd) X(kDoorsUnknown) X(kDoorsOpened) X(kDoorsStayedClosed) X(kFormatNote) \
  X(kTitlesReadAs) X(kInProgressNote) X(kTornRowNote) X(kColumnsFrom) X(kNoColumnFile) \
  X(kColumnFileMismatch) X(kChartedByTitle) X(kNoClockNote) X(kReportTitle) X(kRunHeading) \
  X(kChartsGrouped) X(kMarkersLeftOut) X(kSummaryHeading) X(kStopsHeading) X(kArrived) \
  X(kDeparted) X(kDwell) X(kPosition) X(kDoors) X(kChartsHeading) X(kXAxis) X(kTimeAxis) \
  X(kLocationAxis) X(kShowAll) X(kZoomHint) X(kSignalChanges) X(kBeaconPassed) \
  X(kDoorsOpenOrClose) X(kSpeedChart) X(kHandlesChart) X(kPressuresChart) X(kCurrentChart) \
  X(kSignalChart) X(kHandlesAndPluginChart) X(kPanelChart) X(kPluginOverridesEvent) \
  X(kPluginFollowsEvent) X(kOverrideMarkers) X(kSignalEvent) X(kDoorsClosedEvent) X(kDoorsOpenEvent) X(kBeaconEvent) \
  X(kBeaconSignal) X(kBeaconDistance) X(kBeaconData) X(kRowAxis) X(kRowNumber) X(kEventAt) \
  X(kLocationGoesBack) X(kSavePng) X(kOtherColumnsLeftOut) X(kComparisonTitle) \
  X(kComparisonHeading) X(kSharedStretch) X(kLocationRising) X(kLocationFalling) \
  X(kStationsPaired) X(kStation) X(kNoStop) X(kEachRun) X(kCompareHint) X(kRunCurveChart) \
  X(kTimeDifferenceChart) X(kNotchChart) X(kBrakeCylinderChart) X(kPowerLine) X(kBrakeLine) \
  X(kRunLabel) X(kPointedAt)
// clang-format on

enum class UiText {
#define LOGTOOL_UI_TEXT_ID(name) name,
  LOGTOOL_UI_TEXTS(LOGTOOL_UI_TEXT_ID)
#undef LOGTOOL_UI_TEXT_ID
      kCount
};

// The text in language; never null.
const char* uiText(UiText text, Language language);

// The text of a language's table as written there, null when it is missing.
const char* tableText(UiText text, Language language);

// The text with "{1}" replaced by values[0], "{2}" by values[1] and so on.
std::string fillText(UiText text, Language language, const std::vector<std::string>& values);

}  // namespace logtool

#endif  // LOGGER_TOOLS_LOGTOOL_UI_TEXT_H_
