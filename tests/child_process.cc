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

StartedChild startChild(const std::function<int()>& body) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) _exit(body());
  return StartedChild{child < 0 ? -1 : static_cast<int>(child)};
}

ChildOutcome waitForChild(StartedChild child) {
  if (child.pid < 0) return ChildOutcome{false, 0, 0};
  int status = 0;
  while (waitpid(child.pid, &status, 0) < 0) {
    if (errno != EINTR) return ChildOutcome{false, 0, 0};
  }
  if (WIFEXITED(status)) return ChildOutcome{true, WEXITSTATUS(status), 0};
  return ChildOutcome{false, 0, WTERMSIG(status)};
}

ChildOutcome runInChild(const std::function<int()>& body) { return waitForChild(startChild(body)); }

}  // namespace testing_support
