#include <dlfcn.h>

#include "tools/plugin_host/dynamic_library.h"

namespace plugin_host {

LibraryHandle loadLibrary(const std::string& path, std::string* error) {
  // A name without a slash would be searched for on the library path.
  const std::string located = path.find('/') == std::string::npos ? "./" + path : path;
  void* library = dlopen(located.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) *error = dlerror();
  return library;
}

void* findExport(LibraryHandle library, const char* name) { return dlsym(library, name); }

void unloadLibrary(LibraryHandle library) { dlclose(library); }

}  // namespace plugin_host
