// Loading a module by path and finding its exports: for hosts and tests
// that drive the module as the simulator does, and for the module itself
// when it chains a train's own plug-in.
#ifndef LOGGER_PLATFORM_DYNAMIC_LIBRARY_H_
#define LOGGER_PLATFORM_DYNAMIC_LIBRARY_H_

#include <string>

namespace platform {

// A loaded module, or nullptr.
using LibraryHandle = void*;

// Loads the module at path as a host loads a plug-in: by its full path, with
// the modules beside it found first, and without any error dialog; nullptr
// on failure, with the reason in *error. Loading a module already loaded
// returns the same handle and counts one more load.
LibraryHandle loadLibrary(const std::string& path, std::string* error);

// The address of the export name, or nullptr.
void* findExport(LibraryHandle library, const char* name);

// Unloads a module loaded by loadLibrary, once for each load.
void unloadLibrary(LibraryHandle library);

// True while the module at path is loaded in this process, by anyone. A
// module whose last load was undone may stay loaded a moment longer where
// work of its own still holds it (the logger's, on Windows).
bool isLibraryLoaded(const std::string& path);

}  // namespace platform

#endif  // LOGGER_PLATFORM_DYNAMIC_LIBRARY_H_
