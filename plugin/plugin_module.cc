#include "plugin/plugin_module.h"

#include "platform/platform.h"

namespace plugin {
namespace {

// Finds the export name and stores it in *entryPoint; false when missing.
template <typename Function>
bool bind(platform::LibraryHandle library, const char* name, Function* entryPoint) {
  *entryPoint = reinterpret_cast<Function>(platform::findExport(library, name));
  return *entryPoint != nullptr;
}

}  // namespace

std::string defaultModuleFileName() { return std::string("Logger") + platform::moduleExtension(); }

bool PluginModule::open(const std::string& path, std::string* error,
                        std::string* missingEntryPoint) {
  close();
  library_ = platform::loadLibrary(path, error);
  if (!library_) return false;
#define LOGGER_BIND_POINTER(result, name, parameters)             \
  if (!bind(library_, #name, &name)) {                            \
    *error = "the module " + path + " has no entry point " #name; \
    if (missingEntryPoint) *missingEntryPoint = #name;            \
    close();                                                      \
    return false;                                                 \
  }
  LOGGER_ENTRY_POINTS(LOGGER_BIND_POINTER)
#undef LOGGER_BIND_POINTER
  return true;
}

void PluginModule::close() {
  if (library_) platform::unloadLibrary(library_);
  library_ = nullptr;
  clearPointers();
}

void PluginModule::abandon() {
  library_ = nullptr;
  clearPointers();
}

void PluginModule::clearPointers() {
#define LOGGER_CLEAR_POINTER(result, name, parameters) name = nullptr;
  LOGGER_ENTRY_POINTS(LOGGER_CLEAR_POINTER)
#undef LOGGER_CLEAR_POINTER
}

}  // namespace plugin
