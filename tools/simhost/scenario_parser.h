// Reading a scenario file: the whole file is checked before anything runs,
// and every fault is reported as "FILE:LINE: message".
#ifndef LOGGER_TOOLS_SIMHOST_SCENARIO_PARSER_H_
#define LOGGER_TOOLS_SIMHOST_SCENARIO_PARSER_H_

#include <string>
#include <string_view>
#include <vector>

#include "tools/simhost/scenario.h"

namespace simhost {

// Parses the scenario text; fileName prefixes the messages. True when the
// text has no fault; otherwise false, with one message per fault in *errors.
bool parseScenario(std::string_view text, const std::string& fileName, Scenario* scenario,
                   std::vector<std::string>* errors);

// Reads and parses the scenario file at path, as parseScenario does; a file
// that cannot be read gives the one message "PATH: cannot read the file".
bool readScenarioFile(const std::string& path, Scenario* scenario,
                      std::vector<std::string>* errors);

}  // namespace simhost

#endif  // LOGGER_TOOLS_SIMHOST_SCENARIO_PARSER_H_
