#include <limits.h>
#include <unistd.h>

#include "tools/simhost/process_info.h"

namespace simhost {

std::string executablePath() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  if (length <= 0 || static_cast<std::size_t>(length) >= sizeof path) return std::string();
  return std::string(path, static_cast<std::size_t>(length));
}

bool isTerminal(std::FILE* stream) { return isatty(fileno(stream)) != 0; }

}  // namespace simhost
