#include "tools/simhost/command_line.h"

#include "tools/version.h"

namespace simhost {
namespace {

// The string an option with a value fills, or nullptr for another option.
std::string* valueOf(const std::string& option, CommandLine* commandLine) {
  if (option == "--module") return &commandLine->modulePath;
  if (option == "--scenario") return &commandLine->scenarioPath;
  if (option == "--workdir") return &commandLine->workDirectory;
  return nullptr;
}

// The flag an option without a value sets, or nullptr for another option.
bool* flagOf(const std::string& option, CommandLine* commandLine) {
  if (option == "--timing") return &commandLine->timing;
  if (option == "--quiet") return &commandLine->quiet;
  if (option == "--help" || option == "-h") return &commandLine->help;
  if (option == "--version") return &commandLine->version;
  return nullptr;
}

}  // namespace

bool parseCommandLine(const std::vector<std::string>& arguments, CommandLine* commandLine,
                      std::string* error) {
  *commandLine = CommandLine();
  for (std::size_t at = 0; at < arguments.size(); ++at) {
    const std::string& argument = arguments[at];
    const std::size_t equals = argument.find('=');
    const std::string option = argument.substr(0, equals);
    if (bool* flag = flagOf(option, commandLine); flag && equals == std::string::npos) {
      *flag = true;
    } else if (std::string* value = valueOf(option, commandLine)) {
      if (equals != std::string::npos) {
        *value = argument.substr(equals + 1);
      } else if (at + 1 < arguments.size()) {
        *value = arguments[++at];
      } else {
        *error = option + " needs a value";
        return false;
      }
      if (value->empty()) {
        *error = option + " needs a value";
        return false;
      }
    } else if (argument.rfind("-", 0) == 0) {
      *error = "unknown option " + argument;
      return false;
    } else {
      *error = "unexpected argument " + argument + " (a scenario file goes after --scenario)";
      return false;
    }
  }
  return true;
}

std::string helpText() {
  return R"(Usage: simhost [OPTIONS]

Loads a logger module as the train simulator does and drives it through a
run: Load, SetVehicleSpec, Initialize, per frame the events and Elapse, then
Dispose. Without --scenario it plays a built-in five-minute trip between two
stations at 60 frames per second. At the end it names the log files the
module wrote, their rows, and the run's duration.

Options:
  --module PATH     the module to load (default: Logger.so or Logger.dll
                    beside simhost)
  --scenario FILE   play the run scripted in FILE instead of the built-in trip
  --workdir DIR     the host's current directory, where the module looks for
                    the shared Ats.ini (default: the current directory)
  --timing          report how long Elapse took: median, 99.9th percentile
                    and maximum
  --quiet           print nothing but warnings and errors
  --help            show this text
  --version         show simhost's version

Examples:
  simhost
  simhost --module plugins/Logger.so --scenario examples/station_stop.scenario
  simhost --workdir sim --timing

Exit status: 0 when the run completed, 2 on bad usage or a bad scenario
file (nothing is run then), 3 when the module cannot be loaded or lacks an
entry point.
)";
}

std::string versionText() { return LOGGER_VERSION_TEXT("simhost"); }

}  // namespace simhost
