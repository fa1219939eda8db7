// Runs a piece of a test in a child process of its own (POSIX only), so that
// resource limits set there, and a crash, stay in the child.
#ifndef LOGGER_TESTS_CHILD_PROCESS_H_
#define LOGGER_TESTS_CHILD_PROCESS_H_

#include <functional>
#include <string>

namespace testing_support {

// How a child process ended.
struct ChildOutcome {
  bool exited;   // true when it called exit; false when a signal ended it
  int exitCode;  // its exit code, when it exited
  int signal;    // the signal that ended it, when it did not exit
  std::string describe() const;
};

// A child process started by startChild, not yet waited for.
struct StartedChild {
  int pid;  // -1 when none could be started
};

// Forks and runs body in the child as runInChild does, without waiting.
StartedChild startChild(const std::function<int()>& body);

// Waits for a child that startChild started.
ChildOutcome waitForChild(StartedChild child);

// Forks, runs body in the child and ends the child with body's result as
// its exit code (without running exit handlers); waits for the child.
ChildOutcome runInChild(const std::function<int()>& body);

}  // namespace testing_support

#endif  // LOGGER_TESTS_CHILD_PROCESS_H_
