// logtool: a run's log as a summary, an HTML report or the other format.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "tools/logtool/logtool.h"

#ifdef _WIN32
#include <io.h>
#define LOGTOOL_ISATTY(fd) _isatty(fd)
#else
#include <unistd.h>
#define LOGTOOL_ISATTY(fd) isatty(fd)
#endif

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return logtool::runLogtool(arguments, std::cout, std::cerr, LOGTOOL_ISATTY(2) != 0);
}
