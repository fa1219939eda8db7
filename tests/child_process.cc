#include "tests/child_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace testing_support {

std::string ChildOutcome::describe() const {
  if (exited) return "exited with code " + std::to_string(exitCode);
  return std::string("ended by signal ") + strsignal(signal);
}

ChildOutcome runInChild(const std::function<int()>& body) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) _exit(body());
  if (child < 0) return ChildOutcome{false, 0, 0};
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return ChildOutcome{false, 0, 0};
  }
  if (WIFEXITED(status)) return ChildOutcome{true, WEXITSTATUS(status), 0};
  return ChildOutcome{false, 0, WTERMSIG(status)};
}

}  // namespace testing_support
