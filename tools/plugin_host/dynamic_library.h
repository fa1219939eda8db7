// Loading a module by path and finding its exports, for hosts and tests that
// drive the module as the simulator does.
#ifndef LOGGER_TOOLS_PLUGIN_HOST_DYNAMIC_LIBRARY_H_
#define LOGGER_TOOLS_PLUGIN_HOST_DYNAMIC_LIBRARY_H_

#include <string>

namespace plugin_host {

// A loaded module, or nullptr.
using LibraryHandle = void*;

// Loads the module at path; nullptr on failure, with the reason in *error.
LibraryHandle loadLibrary(const std::string& path, std::string* error);

// The address of the export name, or nullptr.
void* findExport(LibraryHandle library, const char* name);

// Unloads a module loaded by loadLibrary.
void unloadLibrary(LibraryHandle library);

}  // namespace plugin_host

#endif  // LOGGER_TOOLS_PLUGIN_HOST_DYNAMIC_LIBRARY_H_
