// Thin wrappers over the operating system services the module uses. One
// source per platform implements them; the logic above never asks which.
#ifndef LOGGER_PLATFORM_PLATFORM_H_
#define LOGGER_PLATFORM_PLATFORM_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_handle.h"

namespace platform {

// The module's own absolute file path, captured when the module was mapped;
// empty when it could not be captured whole.
const char* modulePath();

// The file-name extension of this platform's modules: ".dll" or ".so".
const char* moduleExtension();

// The character that separates the components of a path: '\\' or '/'.
char pathSeparator();

// True when a file or directory exists at path.
bool fileExists(const std::string& path);

// The integer under key in section of the INI file at path, or defaultValue
// when the file, section or key is missing; names match as the platform's
// profile functions match them.
int32_t readProfileInt(const std::string& path, const char* section, const char* key,
                       int32_t defaultValue);

// path with its last component cut off; a root keeps its separator.
std::string removeLastPathComponent(const std::string& path);

// A moment of local calendar time, each field as the platform's broken-down
// time gives it (years since 1900, month 1 to 12).
struct LocalTime {
  int yearsSince1900;
  int month;
  int day;
  int hour;
  int minute;
  int second;
};

// The current local time; false when the platform cannot convert it.
[[nodiscard]] bool currentLocalTime(LocalTime* time);

// Opens the regular file at path for reading, sharing it with other
// processes; anything else there (a directory, a pipe, a device) gives a
// handle that holds no file.
[[nodiscard]] FileHandle openForReading(const std::string& path);

// Reads up to size bytes; returns the count read, 0 at the end, -1 on error.
[[nodiscard]] std::ptrdiff_t readFile(const FileHandle& file, char* buffer, std::size_t size);

// What createNewFile found at the path.
enum class CreateResult { kCreated, kAlreadyExists, kFailed };

// Creates a new file at path for writing, never replacing an existing one,
// into *file; other processes may read and write it meanwhile.
[[nodiscard]] CreateResult createNewFile(const std::string& path, FileHandle* file);

// Writes all size bytes; false when not all of them could be written.
[[nodiscard]] bool writeFile(const FileHandle& file, const char* data, std::size_t size);

// Writes size bytes at offset, wherever the writing position is, and leaves
// that position undefined; returns how many were written, fewer than size
// when the disk took no more.
[[nodiscard]] std::size_t writeFileAt(const FileHandle& file, int64_t offset, const char* data,
                                      std::size_t size);

// The size in bytes of an open file; -1 when it cannot be told.
[[nodiscard]] int64_t fileSize(const FileHandle& file);

// Cuts an open file back to its first size bytes, or grows it to size, and
// places the writing position there; false when it cannot.
[[nodiscard]] bool truncateFile(const FileHandle& file, int64_t size);

// Reads up to size bytes at offset; returns the count read, 0 at the end, -1
// on error.
[[nodiscard]] std::ptrdiff_t readFileAt(const FileHandle& file, int64_t offset, char* buffer,
                                        std::size_t size);

// The names of the entries in directory, without "." and ".."; empty when
// it cannot be read.
[[nodiscard]] std::vector<std::string> listDirectory(const std::string& directory);

// Removes the file at path; false when it cannot.
[[nodiscard]] bool removeFile(const std::string& path);

// Creates a new file at path for a running log, never replacing an existing
// one, into *file: readable and writable, mappable, and held against
// takeOverFile for as long as it is open; others may read it meanwhile.
[[nodiscard]] CreateResult createRunningFile(const std::string& path, FileHandle* file);

// Removes the file at path, open in *file, while *file still holds it, so
// that no one can take the name over in between; then closes *file. Leaves
// the file where it cannot be removed.
void removeOpenFile(FileHandle* file, const std::string& path);

// True when path names the very file open in file (one of its names).
[[nodiscard]] bool isSameFile(const FileHandle& file, const std::string& path);

// Opens the regular file at path as createRunningFile does, unless an open
// handle holds it; a handle that holds no file when it is held, gone or
// anything but a regular file.
[[nodiscard]] FileHandle takeOverFile(const std::string& path);

// Renames the file at path, open in *file from createRunningFile or
// takeOverFile, to newPath, never replacing a file there; closes *file when
// renamed. kAlreadyExists when newPath is taken.
[[nodiscard]] CreateResult renameOpenFile(FileHandle* file, const std::string& path,
                                          const std::string& newPath);

// This process's identifier; a child forked from it has another.
int64_t currentProcessId();

// The alignment that a mapped view's offset into its file must have.
std::size_t mappingGranularity();

// Makes room on the disk for the bytes [offset, offset + size) of file,
// growing it as needed, so that a full disk fails here and never when a page
// is touched; then maps them shared and writable. nullptr when either fails.
[[nodiscard]] char* mapFileView(const FileHandle& file, int64_t offset, std::size_t size);

// Unmaps a view that mapFileView returned; its pages stay the file's.
void unmapFileView(char* view, std::size_t size);

}  // namespace platform

#endif  // LOGGER_PLATFORM_PLATFORM_H_
