#include "tools/simhost/scenario_parser.h"

#include <fstream>
#include <iterator>
#include <limits>
#include <map>

#include "tools/simhost/handle_limits.h"
#include "tools/simhost/scenario_values.h"

namespace simhost {
namespace {

using Words = std::vector<std::string_view>;

// The words of a line, split at blanks, without the comment after a "#".
Words splitWords(std::string_view line) {
  line = line.substr(0, line.find('#'));
  Words words;
  const char* blanks = " \t\r\f\v";
  for (std::size_t start; (start = line.find_first_not_of(blanks)) != std::string_view::npos;) {
    line.remove_prefix(start);
    const std::size_t end = line.find_first_of(blanks);
    words.push_back(line.substr(0, end));
    line.remove_prefix(end == std::string_view::npos ? line.size() : end);
  }
  return words;
}

std::string quoted(std::string_view word) { return "\"" + std::string(word) + "\""; }

struct NamedField {
  std::string_view name;
  StateField field;
};
constexpr NamedField kStateFields[] = {
    {"location", StateField::kLocation},      {"speed", StateField::kSpeed},
    {"bc", StateField::kBrakeCylinder},       {"mr", StateField::kMainReservoir},
    {"er", StateField::kEqualizingReservoir}, {"bp", StateField::kBrakePipe},
    {"sap", StateField::kStraightAirPipe},    {"current", StateField::kCurrent},
};

struct NamedEvent {
  std::string_view name;
  EventKind kind;
};
// The events that take one whole number.
constexpr NamedEvent kNumberEvents[] = {
    {"power", EventKind::kPower},       {"brake", EventKind::kBrake},
    {"reverser", EventKind::kReverser}, {"signal", EventKind::kSignal},
    {"key-down", EventKind::kKeyDown},  {"key-up", EventKind::kKeyUp},
    {"horn", EventKind::kHorn},
};

// A line with a time, kept for the checks that need the whole file.
struct TimedLine {
  int line;
  int32_t time;
  std::string_view timeText;
};

class ScenarioParser {
 public:
  ScenarioParser(const std::string& fileName, Scenario* scenario, std::vector<std::string>* errors)
      : fileName_(fileName), scenario_(scenario), errors_(errors) {}

  // Parses the words of line number line.
  void parseLine(int line, const Words& words);

  // Runs the checks that need the whole file, which has lastLine lines.
  void finish(int lastLine);

 private:
  void failAt(int line, const std::string& message) {
    errors_->push_back(fileName_ + ":" + std::to_string(line) + ": " + message);
  }
  void fail(const std::string& message) { failAt(line_, message); }

  bool parseSetting(const Words& words);
  void parseVehicle(const Words& words);
  void parseTimedLine(const Words& words);
  void parseEvent(int32_t time, const Words& words);
  void parseStateChange(int32_t time, const Words& words);
  bool wholeNumber(std::string_view word, int32_t* value);
  bool expectCount(const Words& words, std::size_t count, const char* what);

  const std::string& fileName_;
  Scenario* scenario_;
  std::vector<std::string>* errors_;
  int line_ = 0;
  std::map<std::string_view, int> settingLines_;  // setting word to the line that gave it
  std::string_view lengthText_;
  std::vector<TimedLine> timedLines_;
  std::vector<TimedLine> eventLines_;  // one per scenario_->events entry
};

void ScenarioParser::parseLine(int line, const Words& words) {
  line_ = line;
  if (words.empty() || parseSetting(words)) return;
  parseTimedLine(words);
}

bool ScenarioParser::wholeNumber(std::string_view word, int32_t* value) {
  if (parseWholeNumber(word, value)) return true;
  fail(quoted(word) + " is not a whole number");
  return false;
}

bool ScenarioParser::expectCount(const Words& words, std::size_t count, const char* what) {
  if (words.size() == count + 1) return true;
  fail(quoted(words[0]) + " takes " + what);
  return false;
}

bool ScenarioParser::parseSetting(const Words& words) {
  const std::string_view name = words[0];
  if (name != "vehicle" && name != "rate" && name != "start" && name != "length" &&
      name != "brake-mode") {
    return false;
  }
  const auto [earlier, isFirst] = settingLines_.emplace(name, line_);
  if (!isFirst) {
    fail(quoted(name) + " is given twice (first on line " + std::to_string(earlier->second) + ")");
    return true;
  }
  if (name == "vehicle") return parseVehicle(words), true;
  if (name == "rate" || name == "brake-mode") {
    if (!expectCount(words, 1, "one whole number")) return true;
    int32_t value = 0;
    if (!wholeNumber(words[1], &value)) return true;
    if (name == "brake-mode") {
      scenario_->brakeMode = value;
    } else if (value < 1 || value > 1000) {
      fail("the rate must be 1 to 1000 frames per second");
    } else {
      scenario_->framesPerSecond = value;
    }
    return true;
  }
  if (!expectCount(words, 1, "one time")) return true;
  int32_t time = 0;
  if (!parseTime(words[1], &time)) {
    fail(quoted(words[1]) + " is not a time (write seconds, m:ss or h:mm:ss, as in 90 or 7:30:00)");
  } else if (name == "start") {
    scenario_->startTime = time;
  } else {
    scenario_->length = time;
    lengthText_ = words[1];
  }
  return true;
}

void ScenarioParser::parseVehicle(const Words& words) {
  int32_t* const properties[] = {&scenario_->vehicle.brakeNotches, &scenario_->vehicle.powerNotches,
                                 &scenario_->vehicle.interlockNotch,
                                 &scenario_->vehicle.secondBrakeNotch, &scenario_->vehicle.cars};
  const std::string_view names[] = {"brake-notches", "power-notches", "interlock-notch",
                                    "second-brake-notch", "cars"};
  if (words.size() % 2 == 0) return fail("\"vehicle\" takes pairs of a property and its value");
  for (std::size_t at = 1; at + 1 < words.size(); at += 2) {
    std::size_t index = 0;
    while (index < 5 && names[index] != words[at]) ++index;
    if (index == 5) {
      fail("unknown vehicle property " + quoted(words[at]) +
           " (known: brake-notches power-notches interlock-notch second-brake-notch cars)");
      continue;
    }
    int32_t value = 0;
    if (!wholeNumber(words[at + 1], &value)) continue;
    const bool counts = index == 0 || index == 1 || index == 4;
    if (value < (counts ? 1 : 0)) {
      fail(quoted(words[at]) + " must be " + (counts ? "1" : "0") + " or more");
      continue;
    }
    *properties[index] = value;
  }
}

void ScenarioParser::parseTimedLine(const Words& words) {
  int32_t time = 0;
  if (!parseTime(words[0], &time)) {
    return fail("unknown setting or time " + quoted(words[0]) +
                " (a line starts with vehicle, rate, start, length, brake-mode or a time)");
  }
  if (!timedLines_.empty() && time < timedLines_.back().time) {
    return fail("time " + std::string(words[0]) + " comes before the time of line " +
                std::to_string(timedLines_.back().line) + " (" +
                std::string(timedLines_.back().timeText) + "); write lines in time order");
  }
  timedLines_.push_back({line_, time, words[0]});
  if (words.size() < 2) return fail("a time must be followed by what happens then");
  const Words command(words.begin() + 1, words.end());
  if (command[0] == "set" || command[0] == "ramp") return parseStateChange(time, command);
  parseEvent(time, command);
}

void ScenarioParser::parseEvent(int32_t time, const Words& words) {
  HostEvent event;
  if (words[0] == "doors") {
    if (words.size() != 2 || (words[1] != "open" && words[1] != "close")) {
      return fail("\"doors\" takes open or close");
    }
    event.kind = words[1] == "open" ? EventKind::kDoorOpen : EventKind::kDoorClose;
  } else if (words[0] == "beacon") {
    if (!expectCount(words, 4, "four values: type, signal, distance, optional data")) return;
    event.kind = EventKind::kBeacon;
    BeaconData& beacon = event.beacon;
    double distance = 0.0;
    if (!wholeNumber(words[1], &beacon.type) || !wholeNumber(words[2], &beacon.signal)) return;
    if (!parseDecimal(words[3], &distance)) return fail(quoted(words[3]) + " is not a number");
    if (!wholeNumber(words[4], &beacon.optional)) return;
    beacon.distance = static_cast<float>(distance);
  } else {
    const NamedEvent* named = std::begin(kNumberEvents);
    while (named != std::end(kNumberEvents) && named->name != words[0]) ++named;
    if (named == std::end(kNumberEvents)) {
      return fail("unknown command " + quoted(words[0]) +
                  " (known: set ramp power brake reverser signal beacon doors key-down key-up "
                  "horn)");
    }
    if (!expectCount(words, 1, "one whole number") || !wholeNumber(words[1], &event.value)) return;
    event.kind = named->kind;
  }
  scenario_->events.push_back({time, event});
  eventLines_.push_back(timedLines_.back());
}

void ScenarioParser::parseStateChange(int32_t time, const Words& words) {
  const bool ramp = words[0] == "ramp";
  std::size_t end = words.size();
  int32_t rampTime = 0;
  if (ramp) {
    if (end < 3 || words[end - 2] != "over") {
      return fail("\"ramp\" ends with over and a duration, as in: ramp speed 60 over 30");
    }
    if (!parseTime(words[end - 1], &rampTime)) {
      return fail(quoted(words[end - 1]) + " is not a duration (write seconds, as in 30 or 2.5)");
    }
    end -= 2;
  }
  if (end < 3 || end % 2 == 0) {
    return fail(quoted(words[0]) + " takes pairs of a field and its value, as in: " +
                std::string(words[0]) + " speed 60 bc 0");
  }
  for (std::size_t at = 1; at + 1 < end; at += 2) {
    const NamedField* named = std::begin(kStateFields);
    while (named != std::end(kStateFields) && named->name != words[at]) ++named;
    double value = 0.0;
    if (named == std::end(kStateFields)) {
      fail("unknown field " + quoted(words[at]) +
           " (known: location speed bc mr er bp sap current)");
    } else if (ramp && named->field == StateField::kLocation) {
      fail("location cannot be ramped: it follows the speed");
    } else if (!parseDecimal(words[at + 1], &value)) {
      fail(quoted(words[at + 1]) + " is not a number");
    } else {
      scenario_->changes.push_back({time, named->field, value, rampTime});
    }
  }
}

void ScenarioParser::finish(int lastLine) {
  if (!settingLines_.count("length")) {
    failAt(lastLine, "no length line; say how long the run lasts, as in: length 90");
  } else if (int64_t{scenario_->startTime} + scenario_->length >
             std::numeric_limits<int32_t>::max()) {
    failAt(settingLines_["length"], "the run would end after 596:31:23.647, the latest time");
  }
  for (std::size_t index = 0; index < eventLines_.size(); ++index) {
    const std::string fault = handleOutOfRange(scenario_->vehicle, scenario_->events[index].event);
    if (!fault.empty()) failAt(eventLines_[index].line, fault);
  }
  if (lengthText_.empty()) return;
  for (const TimedLine& timed : timedLines_) {
    if (timed.time > scenario_->length) {
      failAt(timed.line, "time " + std::string(timed.timeText) + " is after the end of the run (" +
                             std::string(lengthText_) + ")");
    }
  }
}

}  // namespace

bool parseScenario(std::string_view text, const std::string& fileName, Scenario* scenario,
                   std::vector<std::string>* errors) {
  *scenario = Scenario();
  const std::size_t errorsBefore = errors->size();
  ScenarioParser parser(fileName, scenario, errors);
  int line = 0;
  while (!text.empty()) {
    const std::size_t newline = text.find('\n');
    parser.parseLine(++line, splitWords(text.substr(0, newline)));
    text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
  }
  parser.finish(line > 0 ? line : 1);
  return errors->size() == errorsBefore;
}

bool readScenarioFile(const std::string& path, Scenario* scenario,
                      std::vector<std::string>* errors) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    errors->push_back(path + ": cannot read the file");
    return false;
  }
  const std::string text(std::istreambuf_iterator<char>(file), {});
  return parseScenario(text, path, scenario, errors);
}

}  // namespace simhost
