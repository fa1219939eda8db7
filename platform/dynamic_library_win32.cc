#include <windows.h>

#include <string>
#include <vector>

#include "platform/dynamic_library.h"
#include "platform/wide_text_win32.h"

namespace platform {
namespace {

// path made absolute, as LOAD_WITH_ALTERED_SEARCH_PATH needs it; path itself
// when it cannot be.
std::wstring fullPath(const std::wstring& path) {
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::vector<wchar_t> buffer(size + 1, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), size + 1, buffer.data(), nullptr);
  if (length == 0 || length > size) return path;
  return std::wstring(buffer.data(), length);
}

}  // namespace

LibraryHandle loadLibrary(const std::string& path, std::string* error) {
  // Loaded by its UTF-16 name, as a host built for Unicode loads it; a path
  // that is not UTF-8 is taken as the ANSI code page's. The DLLs beside the
  // module are found first, and a missing one shows no dialog box.
  const std::wstring wide = widened(path);
  DWORD previousMode = 0;
  const bool modeSet = SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previousMode) != 0;
  HMODULE library =
      wide.empty() ? LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)
                   : LoadLibraryExW(fullPath(wide).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  const DWORD failure = library ? 0 : GetLastError();
  if (modeSet) SetThreadErrorMode(previousMode, nullptr);
  if (!library) *error = "LoadLibrary failed with error " + std::to_string(failure);
  return reinterpret_cast<LibraryHandle>(library);
}

void* findExport(LibraryHandle library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void unloadLibrary(LibraryHandle library) { FreeLibrary(static_cast<HMODULE>(library)); }

bool isLibraryLoaded(const std::string& path) {
  const std::wstring wide = widened(path);
  HMODULE library = nullptr;
  return wide.empty() ? GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                           path.c_str(), &library) != 0
                      : GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                           fullPath(wide).c_str(), &library) != 0;
}

}  // namespace platform
