// A logger module loaded the way the simulator loads it: by path, with its
// entry points found by name.
#ifndef LOGGER_TOOLS_PLUGIN_HOST_PLUGIN_MODULE_H_
#define LOGGER_TOOLS_PLUGIN_HOST_PLUGIN_MODULE_H_

#include <string>

#include "plugin/entry_point_list.h"
#include "tools/plugin_host/dynamic_library.h"

namespace plugin_host {

// The module's file name as built here: "Logger.dll" or "Logger.so".
std::string defaultModuleFileName();

class PluginModule {
 public:
  PluginModule() = default;
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;
  ~PluginModule() { close(); }

  // Loads the module at path and binds all 16 entry points; false when the
  // module cannot be loaded or lacks one, with the reason in *error.
  bool open(const std::string& path, std::string* error);

  // Unloads the module, if loaded.
  void close();

#define LOGGER_DECLARE_POINTER(result, name, parameters) \
  result(LOGGER_CALL* name) parameters = nullptr;
  LOGGER_ENTRY_POINTS(LOGGER_DECLARE_POINTER)
#undef LOGGER_DECLARE_POINTER

 private:
  LibraryHandle library_ = nullptr;
};

}  // namespace plugin_host

#endif  // LOGGER_TOOLS_PLUGIN_HOST_PLUGIN_MODULE_H_
