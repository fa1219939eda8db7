// The platform services on Windows.
// windows.h first: shlwapi.h builds on its declarations.
// clang-format off
#include <windows.h>
#include <shlwapi.h>
// clang-format on

#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

// Plain zero-initialised storage, written by the attach notification before
// any entry point runs.
char capturedModulePath[MAX_PATH];

// Notes the module's own path; a path that does not fit is left out whole
// rather than kept cut short.
void captureModulePath(HMODULE module) {
  char buffer[MAX_PATH];
  const DWORD length = GetModuleFileNameA(module, buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  std::memcpy(capturedModulePath, buffer, length + 1);
}

HANDLE toHandle(const platform::FileHandle& file) {
  return reinterpret_cast<HANDLE>(file.native());
}

// The handle as a FileHandle; INVALID_HANDLE_VALUE becomes one that holds no file.
platform::FileHandle toFileHandle(HANDLE handle) {
  return platform::FileHandle(reinterpret_cast<platform::FileHandle::Native>(handle));
}

}  // namespace

// The module's attach notification. A thread attach finds the path already
// captured at process attach, the same text, and leaves it be.
extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH || (reason == DLL_THREAD_ATTACH && !capturedModulePath[0])) {
    captureModulePath(module);
  }
  return TRUE;
}

namespace platform {

const char* modulePath() { return capturedModulePath; }

const char* moduleExtension() { return ".dll"; }

char pathSeparator() { return '\\'; }

bool fileExists(const std::string& path) {
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

int32_t readProfileInt(const std::string& path, const char* section, const char* key,
                       int32_t defaultValue) {
  return static_cast<int32_t>(GetPrivateProfileIntA(section, key, defaultValue, path.c_str()));
}

std::string removeLastPathComponent(const std::string& path) {
  std::vector<char> buffer(path.size() + MAX_PATH + 1, '\0');
  std::memcpy(buffer.data(), path.data(), path.size());
  PathRemoveFileSpecA(buffer.data());
  return std::string(buffer.data());
}

bool currentLocalTime(LocalTime* time) {
  const std::time_t now = std::time(nullptr);
  std::tm broken;
  if (localtime_s(&broken, &now) != 0) return false;
  *time = {broken.tm_year, broken.tm_mon + 1, broken.tm_mday,
           broken.tm_hour, broken.tm_min,     broken.tm_sec};
  return true;
}

FileHandle openForReading(const std::string& path) {
  FileHandle file =
      toFileHandle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  // Only a file on disk is read: a pipe or a device could hold the host up.
  if (file.isOpen() && GetFileType(toHandle(file)) != FILE_TYPE_DISK) file.close();
  return file;
}

std::ptrdiff_t readFile(const FileHandle& file, char* buffer, std::size_t size) {
  const DWORD wanted = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
  DWORD count = 0;
  if (!ReadFile(toHandle(file), buffer, wanted, &count, nullptr)) return -1;
  return static_cast<std::ptrdiff_t>(count);
}

CreateResult createNewFile(const std::string& path, FileHandle* file) {
  const HANDLE created =
      CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (created != INVALID_HANDLE_VALUE) {
    *file = toFileHandle(created);
    return CreateResult::kCreated;
  }
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
    return CreateResult::kAlreadyExists;
  }
  // A directory of that name refuses access rather than reporting itself.
  return fileExists(path) ? CreateResult::kAlreadyExists : CreateResult::kFailed;
}

bool writeFile(const FileHandle& file, const char* data, std::size_t size) {
  while (size > 0) {
    const DWORD piece = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(toHandle(file), data, piece, &written, nullptr) || written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

int64_t fileSize(const FileHandle& file) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(toHandle(file), &size)) return -1;
  return static_cast<int64_t>(size.QuadPart);
}

bool truncateFile(const FileHandle& file, int64_t size) {
  LARGE_INTEGER position;
  position.QuadPart = size;
  return SetFilePointerEx(toHandle(file), position, nullptr, FILE_BEGIN) &&
         SetEndOfFile(toHandle(file));
}

void FileHandle::close() {
  if (isOpen()) CloseHandle(reinterpret_cast<HANDLE>(release()));
}

}  // namespace platform
