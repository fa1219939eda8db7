// Absolute paths longer than the wide file functions take as they stand,
// in the form that lifts that limit.
#ifndef LOGGER_PLATFORM_LONG_PATH_WIN32_H_
#define LOGGER_PLATFORM_LONG_PATH_WIN32_H_

#include <windows.h>

#include <string>

namespace platform {

// path as the wide file functions take it: an absolute path too long for
// them as it is ("C:\..." or "\\server\share\...") with the prefix that
// lifts their length limit ("\\?\C:\..." or "\\?\UNC\server\share\..."); any
// other path as it is. Paths the module builds use backslashes only, which
// the prefixed form needs.
inline std::wstring longPathName(std::wstring path) {
  // Directories end at MAX_PATH less room for a file name of 8.3 characters.
  if (path.size() < MAX_PATH - 12) return path;
  const bool drive = path.size() > 2 && path[1] == L':' && path[2] == L'\\';
  const bool network =
      path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'?' && path[2] != L'.';
  if (drive) return L"\\\\?\\" + path;
  if (network) return L"\\\\?\\UNC\\" + path.substr(2);
  return path;
}

}  // namespace platform

#endif  // LOGGER_PLATFORM_LONG_PATH_WIN32_H_
