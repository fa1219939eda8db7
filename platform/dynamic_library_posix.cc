#include <dlfcn.h>

#include "platform/dynamic_library.h"

namespace platform {

LibraryHandle loadLibrary(const std::string& path, std::string* error) {
  // A name without a slash would be searched for on the library path.
  const std::string located = path.find('/') == std::string::npos ? "./" + path : path;
  void* library = dlopen(located.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* reason = dlerror();
    *error = reason ? reason : "dlopen failed";
  }
  return library;
}

void* findExport(LibraryHandle library, const char* name) { return dlsym(library, name); }

void unloadLibrary(LibraryHandle library) { dlclose(library); }

}  // namespace platform
