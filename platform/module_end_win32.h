// Where the module stands in its life, as its detach notification tells:
// work that waits for another thread must not be done once it is ending.
#ifndef LOGGER_PLATFORM_MODULE_END_WIN32_H_
#define LOGGER_PLATFORM_MODULE_END_WIN32_H_

namespace platform {

enum class ModuleEnd {
  kRunning,    // loaded, or a program of its own
  kUnloading,  // unloaded by the host: the loader lock is held
  kExiting,    // the process ends: every other thread is gone, and so may be
               // locks that they held
};

// The module's stand, set by its detach notification before its statics end.
ModuleEnd moduleEnd();

}  // namespace platform

#endif  // LOGGER_PLATFORM_MODULE_END_WIN32_H_
