// The platform services on Linux and other POSIX systems.
#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/ini_text.h"
#include "platform/platform.h"

namespace {

// Plain zero-initialised storage, so nothing constructed later can reset what
// the load-time capture below wrote into it.
char capturedModulePath[PATH_MAX];

// Runs when the module is mapped: notes the module's own absolute path,
// resolved now so that a later change of the host's directory does not matter.
__attribute__((constructor)) void captureModulePath() {
  Dl_info info;
  if (dladdr(reinterpret_cast<void*>(&captureModulePath), &info) == 0 || !info.dli_fname) return;
  char resolved[PATH_MAX];
  if (!realpath(info.dli_fname, resolved)) return;
  const std::size_t length = std::strlen(resolved);
  if (length >= sizeof capturedModulePath) return;
  std::memcpy(capturedModulePath, resolved, length + 1);
}

}  // namespace

namespace platform {
namespace {

int descriptorOf(const FileHandle& file) { return static_cast<int>(file.native()); }

}  // namespace

const char* modulePath() { return capturedModulePath; }

const char* moduleExtension() { return ".so"; }

char pathSeparator() { return '/'; }

bool fileExists(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0;
}

int32_t readProfileInt(const std::string& path, const char* section, const char* key,
                       int32_t defaultValue) {
  const FileHandle file = openForReading(path);
  if (!file.isOpen()) return defaultValue;
  std::string text;
  char buffer[65536];
  std::ptrdiff_t count;
  while ((count = readFile(file, buffer, sizeof buffer)) > 0) {
    text.append(buffer, static_cast<std::size_t>(count));
  }
  if (count < 0) return defaultValue;
  return findIniInt(text, section, key, defaultValue);
}

std::string removeLastPathComponent(const std::string& path) {
  const std::size_t separator = path.rfind('/');
  if (separator == std::string::npos) return std::string();
  if (separator == 0) return "/";
  return path.substr(0, separator);
}

bool currentLocalTime(LocalTime* time) {
  const time_t now = ::time(nullptr);
  struct tm broken;
  if (localtime_r(&now, &broken) == nullptr) return false;
  *time = {broken.tm_year, broken.tm_mon + 1, broken.tm_mday,
           broken.tm_hour, broken.tm_min,     broken.tm_sec};
  return true;
}

FileHandle openForReading(const std::string& path) {
  // Opening without waiting, so that a pipe without a writer cannot hold the
  // host up; anything but a regular file is then closed again unread.
  FileHandle file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!file.isOpen()) return file;
  const int descriptor = descriptorOf(file);
  struct stat status;
  if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) ||
      fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK) != 0) {
    file.close();
  }
  return file;
}

std::ptrdiff_t readFile(const FileHandle& file, char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t count = read(descriptorOf(file), buffer, size);
    if (count >= 0 || errno != EINTR) return count;
  }
}

CreateResult createNewFile(const std::string& path, FileHandle* file) {
  const int created = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (created >= 0) {
    *file = FileHandle(created);
    return CreateResult::kCreated;
  }
  return errno == EEXIST ? CreateResult::kAlreadyExists : CreateResult::kFailed;
}

bool writeFile(const FileHandle& file, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t count = write(descriptorOf(file), data, size);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    data += count;
    size -= static_cast<std::size_t>(count);
  }
  return true;
}

int64_t fileSize(const FileHandle& file) {
  struct stat status;
  if (fstat(descriptorOf(file), &status) != 0) return -1;
  return static_cast<int64_t>(status.st_size);
}

bool truncateFile(const FileHandle& file, int64_t size) {
  return ftruncate(descriptorOf(file), static_cast<off_t>(size)) == 0;
}

void FileHandle::close() {
  if (isOpen()) ::close(static_cast<int>(release()));
}

}  // namespace platform
