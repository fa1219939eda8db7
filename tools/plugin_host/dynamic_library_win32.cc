#include <windows.h>

#include <string>

#include "platform/wide_text_win32.h"
#include "tools/plugin_host/dynamic_library.h"

namespace plugin_host {

using platform::widened;

LibraryHandle loadLibrary(const std::string& path, std::string* error) {
  // Loaded by its UTF-16 name, as a host built for Unicode loads it; a path
  // that is not UTF-8 is taken as the ANSI code page's.
  const std::wstring wide = widened(path);
  HMODULE library = wide.empty() ? LoadLibraryA(path.c_str()) : LoadLibraryW(wide.c_str());
  if (!library) *error = "LoadLibrary failed with error " + std::to_string(GetLastError());
  return reinterpret_cast<LibraryHandle>(library);
}

void* findExport(LibraryHandle library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void unloadLibrary(LibraryHandle library) { FreeLibrary(static_cast<HMODULE>(library)); }

}  // namespace plugin_host
