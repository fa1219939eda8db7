// System calls of this test program made to fail, or made to wait for a
// test's step first (POSIX only). The program defines them itself, which
// puts its definitions before the C library's for all the code linked into
// it (the module's logic included); they call the library's own.
#ifndef LOGGER_TESTS_INTERPOSED_CALLS_POSIX_H_
#define LOGGER_TESTS_INTERPOSED_CALLS_POSIX_H_

#include <functional>

namespace testing_support {

// The calls that can be hooked.
enum class InterposedCall { kFlock, kUnlink, kLink, kRename, kFtruncate, kPosixFallocate };

// Runs before each call of that kind, in whichever thread makes it, and
// returns 0 to let it go on or an errno value to fail it with. A call made
// from within a hook goes on unhooked.
using CallHook = std::function<int()>;

// Hooks every call of that kind from now on, in place of any hook before.
void hookCall(InterposedCall call, CallHook hook);

// Removes every hook; a test that hooks calls removes them when it ends.
void unhookCalls();

// Removes every hook when it goes out of scope.
struct CallHooksRemoved {
  CallHooksRemoved() = default;
  CallHooksRemoved(const CallHooksRemoved&) = delete;
  CallHooksRemoved& operator=(const CallHooksRemoved&) = delete;
  ~CallHooksRemoved() { unhookCalls(); }
};

}  // namespace testing_support

#endif  // LOGGER_TESTS_INTERPOSED_CALLS_POSIX_H_
