// What the operating system tells simhost about its own process.
#ifndef LOGGER_TOOLS_SIMHOST_PROCESS_INFO_H_
#define LOGGER_TOOLS_SIMHOST_PROCESS_INFO_H_

#include <cstdio>
#include <string>

namespace simhost {

// The running program's own full file path; empty when unknown.
std::string executablePath();

// True when stream writes to a terminal rather than a file or pipe.
bool isTerminal(std::FILE* stream);

}  // namespace simhost

#endif  // LOGGER_TOOLS_SIMHOST_PROCESS_INFO_H_
