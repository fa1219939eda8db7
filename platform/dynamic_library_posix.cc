#include <dlfcn.h>

#include "platform/dynamic_library.h"

namespace platform {
namespace {

// path as dlopen takes it: a name without a slash would be searched for on
// the library path.
std::string located(const std::string& path) {
  return path.find('/') == std::string::npos ? "./" + path : path;
}

}  // namespace

LibraryHandle loadLibrary(const std::string& path, std::string* error) {
  void* library = dlopen(located(path).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* reason = dlerror();
    *error = reason ? reason : "dlopen failed";
  }
  return library;
}

void* findExport(LibraryHandle library, const char* name) { return dlsym(library, name); }

void unloadLibrary(LibraryHandle library) { dlclose(library); }

bool isLibraryLoaded(const std::string& path) {
  void* library = dlopen(located(path).c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (library) dlclose(library);
  return library != nullptr;
}

}  // namespace platform
