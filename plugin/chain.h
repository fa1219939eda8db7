// The train's own plug-in, chained behind the module: loaded from the path
// the module's INI file names, bound by its 16 entry points and checked
// before the module forwards the host's calls to it. A chain that cannot be
// used is written up in "<module name>.chain-error.txt" beside the module,
// and the module goes on alone.
#ifndef LOGGER_PLUGIN_CHAIN_H_
#define LOGGER_PLUGIN_CHAIN_H_

#include <string>

#include "plugin/plugin_module.h"

namespace plugin {

// The error file's name after the module's own name without its extension.
constexpr const char* kChainErrorSuffix = ".chain-error.txt";

class Chain {
 public:
  Chain() = default;
  Chain(const Chain&) = delete;
  Chain& operator=(const Chain&) = delete;

  // A module being unloaded leaves its chained plug-in loaded: Windows
  // forbids unloading a DLL from another's unloading, and the plug-in may
  // still be running its own.
  ~Chain() { plugin_.abandon(); }

  // Loads, binds and checks the plug-in the INI file of the module at
  // modulePath names, unless one is chained already, and asks its interface
  // version (once, before its Load). A plug-in that cannot be used is
  // unloaded and reported in the error file; true when one is chained now.
  // self is this module's own Load, to tell a chain to itself.
  bool load(const std::string& modulePath, void(LOGGER_CALL* self)());

  // Gives the chained plug-in up as unusable for reason: unloads it and
  // writes the error file.
  void reject(const std::string& reason);

  // Removes the error file: the chain works.
  void confirm();

  // Unloads the chained plug-in, if any.
  void unload() { plugin_.close(); }

  // True while a plug-in is chained.
  bool active() const { return plugin_.isOpen(); }

  // The chained plug-in's entry points; null while none is chained.
  PluginModule& plugin() { return plugin_; }

 private:
  std::string loadFailure(const std::string& loaderMessage) const;
  void writeErrorFile(const std::string& reason) const;

  PluginModule plugin_;
  std::string pluginPath_;     // as named and resolved, for the error file
  std::string errorFilePath_;  // empty when the module's name gives none
};

}  // namespace plugin

#endif  // LOGGER_PLUGIN_CHAIN_H_
