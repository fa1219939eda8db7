// The platform services on Windows.
// windows.h first: shlwapi.h builds on its declarations.
// clang-format off
#include <windows.h>
#include <shlwapi.h>
// clang-format on

#include <algorithm>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "platform/ini_text.h"
#include "platform/long_path_win32.h"
#include "platform/module_end_win32.h"
#include "platform/platform.h"
#include "platform/wide_text_win32.h"

namespace {

using platform::widened;

// The longest path the wide file functions take, in UTF-16 units.
constexpr DWORD kMaxWidePath = 32768;

// Plain zero-initialised storage, written by the attach notification before
// any entry point runs: the path in UTF-8, three bytes at most per unit.
char capturedModulePath[3 * kMaxWidePath];

// path in UTF-8 as the wide file functions take it.
std::wstring fileName(const std::string& path) { return platform::longPathName(widened(path)); }

// length UTF-16 units at text in UTF-8; empty when they are not valid UTF-16.
std::string narrowed(const wchar_t* text, int length) {
  if (length <= 0) return std::string();
  const int size = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, length, nullptr, 0,
                                       nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, length, &utf8[0], size, nullptr,
                      nullptr);
  return utf8;
}

// Notes the module's own path in UTF-8; a path that does not fit or cannot
// be converted is left out whole rather than kept cut short.
void captureModulePath(HMODULE module) {
  static wchar_t buffer[kMaxWidePath];
  const DWORD length = GetModuleFileNameW(module, buffer, kMaxWidePath);
  if (length == 0 || length >= kMaxWidePath) return;
  const std::string path = narrowed(buffer, static_cast<int>(length));
  if (path.empty() || path.size() >= sizeof capturedModulePath) return;
  std::memcpy(capturedModulePath, path.c_str(), path.size() + 1);
}

HANDLE toHandle(const platform::FileHandle& file) {
  return reinterpret_cast<HANDLE>(file.native());
}

// The handle as a FileHandle; INVALID_HANDLE_VALUE becomes one that holds no file.
platform::FileHandle toFileHandle(HANDLE handle) {
  return platform::FileHandle(reinterpret_cast<platform::FileHandle::Native>(handle));
}

}  // namespace

namespace {

// Written by the detach notification alone, read by the thread it runs on.
platform::ModuleEnd theModuleEnd = platform::ModuleEnd::kRunning;

}  // namespace

// The module's attach and detach notification. A thread attach finds the
// path already captured at process attach, the same text, and leaves it be.
// The detach comes before the module's statics end.
extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH || (reason == DLL_THREAD_ATTACH && !capturedModulePath[0])) {
    captureModulePath(module);
  }
  if (reason == DLL_PROCESS_DETACH) {
    theModuleEnd = reserved ? platform::ModuleEnd::kExiting : platform::ModuleEnd::kUnloading;
  }
  return TRUE;
}

namespace platform {

const char* modulePath() { return capturedModulePath; }

ModuleEnd moduleEnd() { return theModuleEnd; }

const char* moduleExtension() { return ".dll"; }

char pathSeparator() { return '\\'; }

bool fileExists(const std::string& path) {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(fileName(path).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

int32_t readProfileInt(const std::string& path, const char* section, const char* key,
                       int32_t defaultValue) {
  const std::wstring wide = widened(path);
  if (wide.size() < MAX_PATH) {
    return static_cast<int32_t>(GetPrivateProfileIntW(
        widened(section).c_str(), widened(key).c_str(), defaultValue, wide.c_str()));
  }
  // The profile functions take no longer path: the file is read and looked
  // up here, as on platforms without them.
  return readIniFileInt(path, section, key, defaultValue);
}

std::string removeLastPathComponent(const std::string& path) {
  const std::wstring wide = widened(path);
  std::vector<wchar_t> buffer(wide.size() + MAX_PATH + 1, L'\0');
  std::copy(wide.begin(), wide.end(), buffer.begin());
  PathRemoveFileSpecW(buffer.data());
  return narrowed(buffer.data(), static_cast<int>(wcslen(buffer.data())));
}

bool currentLocalTime(LocalTime* time) {
  const std::time_t now = std::time(nullptr);
  std::tm broken;
  if (localtime_s(&broken, &now) != 0) return false;
  *time = {broken.tm_year, broken.tm_mon + 1, broken.tm_mday,
           broken.tm_hour, broken.tm_min,     broken.tm_sec};
  return true;
}

namespace {

// Opens the existing file at path with this access and share mode; a handle
// that holds no file when there is none, or anything but a file on disk: a
// pipe or a device could hold the host up.
FileHandle openDiskFile(const std::string& path, DWORD access, DWORD share) {
  FileHandle file = toFileHandle(CreateFileW(fileName(path).c_str(), access, share, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.isOpen() && GetFileType(toHandle(file)) != FILE_TYPE_DISK) file.close();
  return file;
}

}  // namespace

FileHandle openForReading(const std::string& path) {
  return openDiskFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
}

std::ptrdiff_t readFile(const FileHandle& file, char* buffer, std::size_t size) {
  const DWORD wanted = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
  DWORD count = 0;
  if (!ReadFile(toHandle(file), buffer, wanted, &count, nullptr)) return -1;
  return static_cast<std::ptrdiff_t>(count);
}

namespace {

// Creates a new file at path with this access and share mode, never
// replacing an existing one, into *file.
CreateResult createExclusively(const std::string& path, DWORD access, DWORD share,
                               FileHandle* file) {
  const HANDLE created = CreateFileW(fileName(path).c_str(), access, share, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
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

}  // namespace

CreateResult createNewFile(const std::string& path, FileHandle* file) {
  return createExclusively(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, file);
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

std::size_t writeFileAt(const FileHandle& file, int64_t offset, const char* data,
                        std::size_t size) {
  std::size_t written = 0;
  while (written < size) {
    const uint64_t at = static_cast<uint64_t>(offset) + written;
    OVERLAPPED position = {};
    position.Offset = static_cast<DWORD>(at);
    position.OffsetHigh = static_cast<DWORD>(at >> 32);
    const std::size_t rest = size - written;
    const DWORD piece = rest > 0x40000000 ? 0x40000000 : static_cast<DWORD>(rest);
    DWORD count = 0;
    if (!WriteFile(toHandle(file), data + written, piece, &count, &position) || count == 0) break;
    written += count;
  }
  return written;
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

std::ptrdiff_t readFileAt(const FileHandle& file, int64_t offset, char* buffer, std::size_t size) {
  OVERLAPPED at = {};
  at.Offset = static_cast<DWORD>(static_cast<uint64_t>(offset));
  at.OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(offset) >> 32);
  const DWORD wanted = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
  DWORD count = 0;
  if (!ReadFile(toHandle(file), buffer, wanted, &count, &at)) {
    return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
  }
  return static_cast<std::ptrdiff_t>(count);
}

std::vector<std::string> listDirectory(const std::string& directory) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(fileName(directory + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = narrowed(found.cFileName, static_cast<int>(wcslen(found.cFileName)));
    if (!name.empty() && name != "." && name != "..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

bool removeFile(const std::string& path) { return DeleteFileW(fileName(path).c_str()) != 0; }

void removeOpenFile(FileHandle* file, const std::string& path) {
  // The handle shares deletion: the file goes when the handle is closed.
  // Where that is refused, it is removed after closing; no one else can
  // create a file of that name while it is there.
  const bool removed = DeleteFileW(fileName(path).c_str()) != 0;
  file->close();
  if (!removed) DeleteFileW(fileName(path).c_str());
}

bool isSameFile(const FileHandle& file, const std::string& path) {
  const FileHandle named =
      openDiskFile(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
  BY_HANDLE_FILE_INFORMATION open;
  BY_HANDLE_FILE_INFORMATION other;
  return named.isOpen() && GetFileInformationByHandle(toHandle(file), &open) &&
         GetFileInformationByHandle(toHandle(named), &other) &&
         open.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
         open.nFileIndexHigh == other.nFileIndexHigh && open.nFileIndexLow == other.nFileIndexLow;
}

// The running log's access and share mode: others may read it, and it may be
// renamed while open; whoever else asks to write it, as takeOverFile does, is
// refused while it is open. No deletion access is asked for, so that readers
// that do not share deletion can open it too.
constexpr DWORD kRunningAccess = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD kRunningShare = FILE_SHARE_READ | FILE_SHARE_DELETE;

CreateResult createRunningFile(const std::string& path, FileHandle* file) {
  return createExclusively(path, kRunningAccess, kRunningShare, file);
}

FileHandle takeOverFile(const std::string& path) {
  return openDiskFile(path, kRunningAccess, kRunningShare);
}

CreateResult renameOpenFile(FileHandle* file, const std::string& path, const std::string& newPath) {
  // The handle shares deletion, so the file can be renamed while it is held;
  // a reader that does not share deletion makes this fail until it closes.
  if (MoveFileExW(fileName(path).c_str(), fileName(newPath).c_str(), 0)) {
    file->close();
    return CreateResult::kCreated;
  }
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS || fileExists(newPath)) {
    return CreateResult::kAlreadyExists;
  }
  return CreateResult::kFailed;
}

int64_t currentProcessId() { return static_cast<int64_t>(GetCurrentProcessId()); }

std::size_t mappingGranularity() {
  // Asked once: under the Windows emulation on Linux each asking is a call
  // into the Linux kernel, and the writer asks at every chunk switch.
  static const std::size_t granularity = [] {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    return static_cast<std::size_t>(system.dwAllocationGranularity);
  }();
  return granularity;
}

char* mapFileView(const FileHandle& file, int64_t offset, std::size_t size) {
  // A mapping larger than the file grows it, taking the room on the disk
  // now: a full disk fails here.
  const uint64_t end = static_cast<uint64_t>(offset) + size;
  const HANDLE mapping =
      CreateFileMappingW(toHandle(file), nullptr, PAGE_READWRITE, static_cast<DWORD>(end >> 32),
                         static_cast<DWORD>(end), nullptr);
  if (!mapping) return nullptr;
  void* view = MapViewOfFile(mapping, FILE_MAP_WRITE,
                             static_cast<DWORD>(static_cast<uint64_t>(offset) >> 32),
                             static_cast<DWORD>(static_cast<uint64_t>(offset)), size);
  CloseHandle(mapping);  // the view keeps the mapping alive
  return static_cast<char*>(view);
}

void unmapFileView(char* view, std::size_t) { UnmapViewOfFile(view); }

void FileHandle::close() {
  if (isOpen()) CloseHandle(reinterpret_cast<HANDLE>(release()));
}

}  // namespace platform
