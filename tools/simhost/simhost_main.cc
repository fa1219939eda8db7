// simhost: a stand-in for the train simulator that drives a logger module
// through a whole run.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "tools/simhost/process_info.h"
#include "tools/simhost/simhost.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  simhost::CommandLine commandLine;
  std::string error;
  if (!simhost::parseCommandLine(arguments, &commandLine, &error)) {
    std::cerr << "simhost: " << error << "\nTry: simhost --help\n";
    return simhost::kBadInput;
  }
  return simhost::runSimhost(commandLine, std::cout, std::cerr, simhost::isTerminal(stderr));
}
