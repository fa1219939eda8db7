#include "tests/interposed_calls_posix.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>

namespace testing_support {
namespace {

constexpr int kCallCount = static_cast<int>(InterposedCall::kPosixFallocate) + 1;

std::mutex hooksMutex;
CallHook hooks[kCallCount];

// True while this thread runs a hook: its own calls go on unhooked.
thread_local bool inHook = false;

// The hook's verdict on a call of that kind: 0 or an errno value.
int runHook(InterposedCall call) {
  if (inHook) return 0;
  CallHook hook;
  {
    std::lock_guard<std::mutex> lock(hooksMutex);
    hook = hooks[static_cast<int>(call)];
  }
  if (!hook) return 0;
  inHook = true;
  const int error = hook();
  inHook = false;
  return error;
}

// The C library's own function of that name.
template <typename Function>
Function libraryFunction(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// Fails the call with the hook's errno value, or makes it.
template <typename Function, typename... Arguments>
int interpose(InterposedCall call, const char* name, Arguments... arguments) {
  if (const int error = runHook(call)) {
    errno = error;
    return -1;
  }
  static const Function function = libraryFunction<Function>(name);
  return function(arguments...);
}

}  // namespace

void hookCall(InterposedCall call, CallHook hook) {
  std::lock_guard<std::mutex> lock(hooksMutex);
  hooks[static_cast<int>(call)] = std::move(hook);
}

void unhookCalls() {
  std::lock_guard<std::mutex> lock(hooksMutex);
  for (CallHook& hook : hooks) hook = nullptr;
}

}  // namespace testing_support

using testing_support::interpose;
using testing_support::InterposedCall;

extern "C" {

int flock(int descriptor, int operation) {
  return interpose<int (*)(int, int)>(InterposedCall::kFlock, "flock", descriptor, operation);
}

int unlink(const char* path) {
  return interpose<int (*)(const char*)>(InterposedCall::kUnlink, "unlink", path);
}

int link(const char* from, const char* to) {
  return interpose<int (*)(const char*, const char*)>(InterposedCall::kLink, "link", from, to);
}

int rename(const char* from, const char* to) {
  return interpose<int (*)(const char*, const char*)>(InterposedCall::kRename, "rename", from, to);
}

int renameat2(int fromDirectory, const char* from, int toDirectory, const char* to,
              unsigned int flags) {
  return interpose<int (*)(int, const char*, int, const char*, unsigned int)>(
      InterposedCall::kRename, "renameat2", fromDirectory, from, toDirectory, to, flags);
}

int ftruncate(int descriptor, off_t length) {
  return interpose<int (*)(int, off_t)>(InterposedCall::kFtruncate, "ftruncate", descriptor,
                                        length);
}

// Reports its failure as its result, not in errno.
int posix_fallocate(int descriptor, off_t offset, off_t length) {
  if (const int error = testing_support::runHook(InterposedCall::kPosixFallocate)) return error;
  static const auto function =
      testing_support::libraryFunction<int (*)(int, off_t, off_t)>("posix_fallocate");
  return function(descriptor, offset, length);
}

}  // extern "C"
