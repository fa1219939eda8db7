#include <windows.h>

#include "tools/plugin_host/dynamic_library.h"

namespace plugin_host {

LibraryHandle loadLibrary(const std::string& path, std::string* error) {
  HMODULE library = LoadLibraryA(path.c_str());
  if (!library) *error = "LoadLibrary failed with error " + std::to_string(GetLastError());
  return reinterpret_cast<LibraryHandle>(library);
}

void* findExport(LibraryHandle library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void unloadLibrary(LibraryHandle library) { FreeLibrary(static_cast<HMODULE>(library)); }

}  // namespace plugin_host
