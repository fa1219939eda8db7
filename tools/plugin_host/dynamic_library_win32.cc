#include <windows.h>

#include <string>

#include "tools/plugin_host/dynamic_library.h"

namespace plugin_host {
namespace {

// path in UTF-8 as UTF-16; empty when it is not valid UTF-8.
std::wstring widened(const std::string& path) {
  const int size = static_cast<int>(path.size());
  const int length =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), size, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), size, &wide[0], length);
  return wide;
}

}  // namespace

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
