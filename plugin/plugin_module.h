// A plug-in loaded the way the simulator loads one: by path, with its 16
// entry points found by name. Hosts and tests load the logger module with
// it; the module loads the train's own plug-in it chains with it.
#ifndef LOGGER_PLUGIN_PLUGIN_MODULE_H_
#define LOGGER_PLUGIN_PLUGIN_MODULE_H_

#include <string>

#include "platform/dynamic_library.h"
#include "plugin/entry_point_list.h"

namespace plugin {

// The module's file name as built here: "Logger.dll" or "Logger.so".
std::string defaultModuleFileName();

class PluginModule {
 public:
  PluginModule() = default;
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;
  ~PluginModule() { close(); }

  // Loads the module at path and binds all 16 entry points; false when the
  // module cannot be loaded or lacks one, with the reason in *error and, for
  // a missing entry point, its name in *missingEntryPoint when given.
  bool open(const std::string& path, std::string* error, std::string* missingEntryPoint = nullptr);

  // Unloads the module, if loaded.
  void close();

  // Forgets the module without unloading it, as a module being unloaded
  // itself must (Windows forbids unloading from there).
  void abandon();

  // True while a module is loaded and bound.
  bool isOpen() const { return library_ != nullptr; }

#define LOGGER_DECLARE_POINTER(result, name, parameters) \
  result(LOGGER_CALL* name) parameters = nullptr;
  LOGGER_ENTRY_POINTS(LOGGER_DECLARE_POINTER)
#undef LOGGER_DECLARE_POINTER

 private:
  void clearPointers();

  platform::LibraryHandle library_ = nullptr;
};

}  // namespace plugin

#endif  // LOGGER_PLUGIN_PLUGIN_MODULE_H_
