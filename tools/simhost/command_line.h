// simhost's command line: its options and the help text.
#ifndef LOGGER_TOOLS_SIMHOST_COMMAND_LINE_H_
#define LOGGER_TOOLS_SIMHOST_COMMAND_LINE_H_

#include <string>
#include <vector>

namespace simhost {

struct CommandLine {
  std::string modulePath;     // --module; empty: the module beside simhost
  std::string scenarioPath;   // --scenario; empty: the built-in trip
  std::string workDirectory;  // --workdir; empty: the current directory
  bool timing = false;        // --timing
  bool quiet = false;         // --quiet
  bool help = false;          // --help
  bool version = false;       // --version
};

// Reads the arguments after the program's name; an option's value follows
// it as the next argument or after "=". False with a message in *error on
// an unknown option, a missing value or a stray argument.
bool parseCommandLine(const std::vector<std::string>& arguments, CommandLine* commandLine,
                      std::string* error);

// The text --help prints.
std::string helpText();

// The text --version prints: the version and the copyright.
std::string versionText();

}  // namespace simhost

#endif  // LOGGER_TOOLS_SIMHOST_COMMAND_LINE_H_
