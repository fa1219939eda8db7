#include "tools/logtool/run_scan.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <optional>

#include "tools/logtool/log_reader.h"
#include "tools/logtool/system_text.h"
#include "tools/logtool/title_encoding.h"

namespace logtool {
namespace {

constexpr long kEventsPerKind = 5000;

struct ChartGroup {
  const char* id;
  UiText title;
  std::vector<std::pair<ColumnKey, bool>> lines;  // key, on the second axis
  bool steps;
};

const std::vector<ChartGroup>& chartGroups() {
  static const std::vector<ChartGroup> groups = {
      {"speed",
       UiText::kSpeedChart,
       {{ColumnKey::kSpeed, false}, {ColumnKey::kAcceleration, true}},
       false},
      {"handles",
       UiText::kHandlesChart,
       {{ColumnKey::kPower, false},
        {ColumnKey::kBrake, false},
        {ColumnKey::kReverser, false},
        {ColumnKey::kPluginPower, false},
        {ColumnKey::kPluginBrake, false}},
       true},
      {"pressures",
       UiText::kPressuresChart,
       {{ColumnKey::kBrakeCylinder, false},
        {ColumnKey::kStraightAirPipe, false},
        {ColumnKey::kBrakePipe, false},
        {ColumnKey::kEqualizingReservoir, false},
        {ColumnKey::kMainReservoir, false}},
       false},
      {"current", UiText::kCurrentChart, {{ColumnKey::kCurrent, false}}, false},
      {"signal",
       UiText::kSignalChart,
       {{ColumnKey::kSignal, false}, {ColumnKey::kPilotLamp, true}},
       true},
  };
  return groups;
}

// Keys that are an axis or markers rather than a chart line of their own.
bool chartedElsewhere(ColumnKey key) {
  return key == ColumnKey::kTimeClockText || key == ColumnKey::kTime ||
         key == ColumnKey::kLocation || key == ColumnKey::kBeaconType ||
         key == ColumnKey::kBeaconSignal || key == ColumnKey::kBeaconDistance ||
         key == ColumnKey::kBeaconOptional;
}

// The value of a field as a chart or the summary reads it; NaN when empty.
double fieldNumber(const LogReader& log, const LogRow& row, int column) {
  if (column < 0) return NAN;
  const std::string_view text = row.field(static_cast<std::size_t>(column));
  if (text.empty()) return NAN;
  if (text == "true") return 1;
  if (text == "false") return 0;
  double value;
  if (parseNumber(text, &value)) return std::isfinite(value) ? value : NAN;
  if (parseClock(text, &value)) return value;
  throw InputError(log.path(), row.line,
                   "column '" + printable(log.shownTitles()[static_cast<std::size_t>(column)]) +
                       "' holds '" + printable(text) + "', which is no number");
}

class Scanner {
 public:
  Scanner(LogReader* log, ScannedRun* run, const ScanOptions& options)
      : log_(*log), run_(*run), options_(options) {}
  void scan();

 private:
  void findTimeColumn(const LogRow& first);
  void gatherCharts(const LogRow& row, double time, double location);
  void markOverrides(const LogRow& row, double time, double location);
  // The columns whose change is an event of one kind, and their last values.
  struct EventSource {
    const char* kind;
    std::vector<std::size_t> columns;
    std::string last;
    long count;
  };
  void findEventSources();
  std::string eventText(const EventSource& source, const LogRow& row) const;
  void buildCharts();

  void planCharts();
  // Whether the options chart the column of key.
  bool wanted(ColumnKey key) const {
    return options_.chartKeys.empty() ||
           std::find(options_.chartKeys.begin(), options_.chartKeys.end(), key) !=
               options_.chartKeys.end();
  }
  int seriesOf(const LogRow& row, std::size_t column);

  LogReader& log_;
  ScannedRun& run_;
  const ScanOptions& options_;
  int timeColumn_ = -1;
  bool timeInMilliseconds_ = false;
  // The charts' data: a series for each column of a known chart group, then
  // for the first columns of no known key that hold numbers.
  std::optional<ChartDecimator> decimator_;
  std::vector<int> seriesOf_;         // per column: its series, or -1
  std::vector<char> mayChart_;        // per column: charted once it holds a number
  std::vector<std::size_t> charted_;  // per series: its column
  std::size_t groupSeries_ = 0;       // the series of the chart groups
  std::vector<double> values_;        // per series: the row's value
  std::vector<EventSource> eventSources_;
  bool overriding_ = false;  // the plug-in's handles differed from the driver's in the last row
  long overrideEvents_ = 0;
  std::string scratch_;
};

void Scanner::findTimeColumn(const LogRow& first) {
  // The clock, else the first column holding clock text, else the time in ms.
  timeColumn_ = run_.keys.columnOf(ColumnKey::kTimeClockText);
  for (std::size_t i = 0; timeColumn_ < 0 && i < first.ends.size(); ++i) {
    if (classifyValue(first.field(i)) == ValueKind::kClock) timeColumn_ = static_cast<int>(i);
  }
  if (timeColumn_ < 0) {
    timeColumn_ = run_.keys.columnOf(ColumnKey::kTime);
    timeInMilliseconds_ = timeColumn_ >= 0;
  }
  if (timeColumn_ >= 0) run_.timeTitle = run_.titles[static_cast<std::size_t>(timeColumn_)];
}

void Scanner::scan() {
  const int location = run_.keys.columnOf(ColumnKey::kLocation);
  const int speed = run_.keys.columnOf(ColumnKey::kSpeed);
  const int doors = run_.keys.columnOf(ColumnKey::kPilotLamp);
  SummaryBuilder summary;
  findEventSources();
  LogRow row;
  for (long rows = 0; log_.next(&row); ++rows) {
    if (rows == 0) {
      findTimeColumn(row);
      if (options_.charts) planCharts();
    }
    RowFacts facts;
    // Without a clock the summary knows no times; the charts number the rows.
    facts.time = timeColumn_ < 0 ? NAN : fieldNumber(log_, row, timeColumn_);
    if (timeInMilliseconds_) facts.time /= 1000;
    const double x = timeColumn_ < 0 ? static_cast<double>(rows + 1) : facts.time;
    facts.location = fieldNumber(log_, row, location);
    facts.speed = fieldNumber(log_, row, speed);
    const double doorsClosed = fieldNumber(log_, row, doors);
    facts.doorsClosed = std::isnan(doorsClosed) ? -1 : (doorsClosed != 0 ? 1 : 0);
    summary.add(facts);
    if (decimator_) {
      gatherCharts(row, x, facts.location);
      decimator_->add(x, facts.location, values_.data());
    }
    if (options_.progress && rows % 65536 == 0)
      options_.progress(log_.bytesRead(), log_.fileSize());
  }
  run_.summary = summary.summary();
  run_.inProgress = log_.stoppedAtZeroByte();
  run_.tornRowLeftOut = log_.tornRowLeftOut();
  if (!decimator_) return;
  run_.points = decimator_->points();
  run_.rowsPerBucket = decimator_->rowsPerBucket();
  buildCharts();
}

void Scanner::planCharts() {
  const std::size_t columns = log_.titles().size();
  seriesOf_.assign(columns, -1);
  for (const ChartGroup& group : chartGroups()) {
    for (const auto& line : group.lines) {
      const int column = run_.keys.columnOf(line.first);
      if (column < 0 || seriesOf_[static_cast<std::size_t>(column)] >= 0 || !wanted(line.first))
        continue;
      seriesOf_[static_cast<std::size_t>(column)] = static_cast<int>(charted_.size());
      charted_.push_back(static_cast<std::size_t>(column));
    }
  }
  groupSeries_ = charted_.size();
  mayChart_.assign(columns, 0);
  if (!options_.chartKeys.empty()) {
    eventSources_.clear();
    values_.assign(groupSeries_, NAN);
    decimator_.emplace(groupSeries_, options_.bucketLimit);
    return;
  }
  for (std::size_t i = 0; i < columns; ++i) {
    mayChart_[i] = seriesOf_[i] < 0 && static_cast<int>(i) != timeColumn_ &&
                   !chartedElsewhere(run_.keys.keys[i]);
  }
  const std::size_t series = groupSeries_ + kOtherColumnsCharted;
  values_.assign(series, NAN);
  decimator_.emplace(series, options_.bucketLimit);
}

// The series of a column, given one when it first holds a number while
// series are left; -1 when it has none.
int Scanner::seriesOf(const LogRow& row, std::size_t column) {
  if (seriesOf_[column] >= 0 || !mayChart_[column]) return seriesOf_[column];
  const ValueKind kind = classifyValue(row.field(column));
  if (kind != ValueKind::kNumber && kind != ValueKind::kBoolean) return -1;
  mayChart_[column] = 0;
  if (charted_.size() - groupSeries_ == kOtherColumnsCharted) {
    ++run_.numericColumnsLeftOut;
    return -1;
  }
  seriesOf_[column] = static_cast<int>(charted_.size());
  charted_.push_back(column);
  return seriesOf_[column];
}

void Scanner::gatherCharts(const LogRow& row, double time, double location) {
  for (std::size_t i = 0; i < row.ends.size(); ++i) {
    const int series = seriesOf(row, i);
    if (series < 0) continue;
    const bool clock = classifyValue(row.field(i)) == ValueKind::kClock;
    values_[static_cast<std::size_t>(series)] = clock && static_cast<int>(i) != timeColumn_
                                                    ? NAN
                                                    : fieldNumber(log_, row, static_cast<int>(i));
  }
  for (EventSource& source : eventSources_) {
    if (source.columns.empty() || row.field(source.columns[0]).empty()) continue;
    scratch_.clear();
    for (const std::size_t column : source.columns) {
      scratch_.append(row.field(column));
      scratch_.push_back('\x1f');
    }
    if (scratch_ == source.last) continue;
    source.last = scratch_;
    if (++source.count > kEventsPerKind) {
      ++run_.eventsLeftOut;
      continue;
    }
    run_.events.push_back(RunEvent{time, location, source.kind, eventText(source, row)});
  }
  if (options_.chartKeys.empty()) markOverrides(row, time, location);  // none for a comparison
}

void Scanner::markOverrides(const LogRow& row, double time, double location) {
  const int columns[] = {
      run_.keys.columnOf(ColumnKey::kPower), run_.keys.columnOf(ColumnKey::kPluginPower),
      run_.keys.columnOf(ColumnKey::kBrake), run_.keys.columnOf(ColumnKey::kPluginBrake)};
  bool differs = false;
  for (std::size_t pair = 0; pair < std::size(columns); pair += 2) {
    if (columns[pair] < 0 || columns[pair + 1] < 0) continue;
    const std::string_view plugin = row.field(static_cast<std::size_t>(columns[pair + 1]));
    if (!plugin.empty() && plugin != row.field(static_cast<std::size_t>(columns[pair])))
      differs = true;
  }
  if (differs == overriding_) return;
  overriding_ = differs;
  if (++overrideEvents_ > kEventsPerKind) {
    ++run_.eventsLeftOut;
    return;
  }
  run_.events.push_back(
      RunEvent{time, location, "override",
               uiText(differs ? UiText::kPluginOverridesEvent : UiText::kPluginFollowsEvent,
                      run_.language)});
}

std::string Scanner::eventText(const EventSource& source, const LogRow& row) const {
  const auto field = [&](std::size_t index) {
    return std::string(row.field(source.columns[index]));
  };
  const Language language = run_.language;
  if (source.kind == std::string("signal"))
    return fillText(UiText::kSignalEvent, language, {field(0)});
  if (source.kind == std::string("doors")) {
    return uiText(field(0) == "true" ? UiText::kDoorsClosedEvent : UiText::kDoorsOpenEvent,
                  language);
  }
  std::string text = fillText(UiText::kBeaconEvent, language, {field(0)});
  const UiText names[] = {UiText::kBeaconSignal, UiText::kBeaconDistance, UiText::kBeaconData};
  for (std::size_t i = 1; i < source.columns.size(); ++i) {
    text += fillText(names[i - 1], language, {field(i)});
  }
  return text;
}

void Scanner::findEventSources() {
  const auto columns = [&](std::initializer_list<ColumnKey> keys) {
    std::vector<std::size_t> found;
    for (const ColumnKey key : keys) {
      const int column = run_.keys.columnOf(key);
      if (column < 0) break;  // a beacon is told by its type and what follows it
      found.push_back(static_cast<std::size_t>(column));
    }
    return found;
  };
  eventSources_ = {
      {"signal", columns({ColumnKey::kSignal}), "", 0},
      {"beacon",
       columns({ColumnKey::kBeaconType, ColumnKey::kBeaconSignal, ColumnKey::kBeaconDistance,
                ColumnKey::kBeaconOptional}),
       "", 0},
      {"doors", columns({ColumnKey::kPilotLamp}), "", 0},
  };
}

void Scanner::buildCharts() {
  const std::vector<std::string>& titles = run_.titles;
  const auto line = [&](std::size_t column, bool step, bool rightAxis) {
    const std::string label =
        titles[column].empty() ? std::string(keyName(run_.keys.keys[column])) : titles[column];
    return ChartLine{label, column, static_cast<std::size_t>(seriesOf_[column]), step, rightAxis};
  };
  for (const ChartGroup& group : chartGroups()) {
    ChartSpec chart{group.id, uiText(group.title, run_.language), {}};
    for (const auto& [key, rightAxis] : group.lines) {
      const int column = run_.keys.columnOf(key);
      if (column < 0 || seriesOf_[static_cast<std::size_t>(column)] < 0) continue;
      chart.lines.push_back(line(static_cast<std::size_t>(column), group.steps, rightAxis));
      if (key == ColumnKey::kPluginPower || key == ColumnKey::kPluginBrake)
        chart.title = uiText(UiText::kHandlesAndPluginChart, run_.language);
    }
    if (!chart.lines.empty()) run_.charts.push_back(chart);
  }
  std::vector<std::size_t> others(charted_.begin() + static_cast<long>(groupSeries_),
                                  charted_.end());
  std::sort(others.begin(), others.end());
  // The cab panel's entries share a chart; every other column has its own.
  ChartSpec panel{"panel", uiText(UiText::kPanelChart, run_.language), {}};
  for (const std::size_t column : others) {
    if (column < run_.keys.panel.size() && run_.keys.panel[column]) {
      panel.lines.push_back(line(column, true, false));
      continue;
    }
    const ChartLine only = line(column, false, false);
    run_.charts.push_back(ChartSpec{"column-" + std::to_string(column + 1), only.label, {only}});
  }
  if (!panel.lines.empty()) run_.charts.push_back(panel);
}

}  // namespace

ScannedRun scanRun(const std::string& path, const ScanOptions& options) {
  LogReader log(path, options.codePage);
  ScannedRun run;
  run.logPath = path;
  run.mark = log.decimalMark();
  run.codePage = log.codePage();
  run.language = options.language;
  run.titles = log.shownTitles();
  run.keys =
      findColumnKeys(path, log.titles(), options.columnFile, log.codePage(), options.language);
  Scanner(&log, &run, options).scan();
  return run;
}

const std::vector<double>* chartedSeries(const ScannedRun& run, ColumnKey key) {
  const int column = run.keys.columnOf(key);
  for (const ChartSpec& chart : run.charts) {
    for (const ChartLine& line : chart.lines) {
      if (static_cast<int>(line.column) == column) return &run.points.series[line.series];
    }
  }
  return nullptr;
}

std::vector<std::string> scanNotes(const ScannedRun& run) {
  const Language language = run.language;
  std::vector<std::string> notes;
  notes.push_back(fillText(UiText::kFormatNote, language,
                           {formatName(run.mark), std::to_string(run.titles.size())}));
  if (run.codePage != kUtf8CodePage) {
    notes.push_back(fillText(UiText::kTitlesReadAs, language, {codePageName(run.codePage)}));
  }
  if (run.inProgress) notes.push_back(uiText(UiText::kInProgressNote, language));
  if (run.tornRowLeftOut) notes.push_back(uiText(UiText::kTornRowNote, language));
  notes.push_back(run.keys.note);
  if (run.timeTitle.empty()) notes.push_back(uiText(UiText::kNoClockNote, language));
  if (run.numericColumnsLeftOut > 0) {
    notes.push_back(fillText(
        UiText::kOtherColumnsLeftOut, language,
        {std::to_string(kOtherColumnsCharted), std::to_string(run.numericColumnsLeftOut)}));
  }
  return notes;
}

}  // namespace logtool
