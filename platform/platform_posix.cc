// The platform services on Linux and other POSIX systems.
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/mman.h>
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

// True when path names the very file open in descriptor: it was neither
// renamed nor removed since it was opened.
bool stillAtPath(int descriptor, const std::string& path) {
  struct stat open;
  struct stat named;
  return fstat(descriptor, &open) == 0 && stat(path.c_str(), &named) == 0 &&
         open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

// Takes the lock that marks a running log as held, without waiting; a lock
// on the open file description, so that it holds against this process's
// other descriptors too, and goes with the last descriptor closed.
bool lockRunningFile(int descriptor) { return flock(descriptor, LOCK_EX | LOCK_NB) == 0; }

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
  return readIniFileInt(path, section, key, defaultValue);
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

std::size_t writeFileAt(const FileHandle& file, int64_t offset, const char* data,
                        std::size_t size) {
  std::size_t written = 0;
  while (written < size) {
    const ssize_t count = pwrite(descriptorOf(file), data + written, size - written,
                                 static_cast<off_t>(offset + static_cast<int64_t>(written)));
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) break;
    written += static_cast<std::size_t>(count);
  }
  return written;
}

int64_t fileSize(const FileHandle& file) {
  struct stat status;
  if (fstat(descriptorOf(file), &status) != 0) return -1;
  return static_cast<int64_t>(status.st_size);
}

bool truncateFile(const FileHandle& file, int64_t size) {
  const int descriptor = descriptorOf(file);
  return ftruncate(descriptor, static_cast<off_t>(size)) == 0 &&
         lseek(descriptor, static_cast<off_t>(size), SEEK_SET) == static_cast<off_t>(size);
}

std::ptrdiff_t readFileAt(const FileHandle& file, int64_t offset, char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t count = pread(descriptorOf(file), buffer, size, static_cast<off_t>(offset));
    if (count >= 0 || errno != EINTR) return count;
  }
}

std::vector<std::string> listDirectory(const std::string& directory) {
  std::vector<std::string> names;
  DIR* listing = opendir(directory.c_str());
  if (!listing) return names;
  while (const dirent* entry = readdir(listing)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(listing);
  return names;
}

bool removeFile(const std::string& path) { return unlink(path.c_str()) == 0; }

void removeOpenFile(FileHandle* file, const std::string& path) {
  // Removed under the lock: once it is let go, another Load could create a
  // new file of that name, which must stay.
  unlink(path.c_str());
  file->close();
}

bool isSameFile(const FileHandle& file, const std::string& path) {
  return stillAtPath(descriptorOf(file), path);
}

CreateResult createRunningFile(const std::string& path, FileHandle* file) {
  FileHandle created(open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (!created.isOpen())
    return errno == EEXIST ? CreateResult::kAlreadyExists : CreateResult::kFailed;
  // Another Load may have taken the new file over before the lock: then it is
  // gone, and another name is tried.
  if (!lockRunningFile(descriptorOf(created)) || !stillAtPath(descriptorOf(created), path)) {
    return CreateResult::kAlreadyExists;
  }
  *file = std::move(created);
  return CreateResult::kCreated;
}

FileHandle takeOverFile(const std::string& path) {
  FileHandle file(open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  if (!file.isOpen()) return file;
  const int descriptor = descriptorOf(file);
  struct stat status;
  if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || !lockRunningFile(descriptor) ||
      !stillAtPath(descriptor, path)) {
    file.close();
  }
  return file;
}

CreateResult renameOpenFile(FileHandle* file, const std::string& path, const std::string& newPath) {
  // A hard link never replaces a file; the lock is held until the old name
  // is gone. Where the file system has no links, a renaming that never
  // replaces; only where the kernel lacks that too, a renaming after a look.
  if (link(path.c_str(), newPath.c_str()) == 0) {
    unlink(path.c_str());
  } else if (errno == EEXIST) {
    return CreateResult::kAlreadyExists;
  } else if (renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, newPath.c_str(), RENAME_NOREPLACE) != 0) {
    if (errno == EEXIST) return CreateResult::kAlreadyExists;
    if (errno != EINVAL && errno != ENOSYS) return CreateResult::kFailed;
    if (fileExists(newPath)) return CreateResult::kAlreadyExists;
    if (rename(path.c_str(), newPath.c_str()) != 0) return CreateResult::kFailed;
  }
  file->close();
  return CreateResult::kCreated;
}

int64_t currentProcessId() { return static_cast<int64_t>(getpid()); }

std::size_t mappingGranularity() { return static_cast<std::size_t>(sysconf(_SC_PAGESIZE)); }

char* mapFileView(const FileHandle& file, int64_t offset, std::size_t size) {
  const int descriptor = descriptorOf(file);
  if (posix_fallocate(descriptor, static_cast<off_t>(offset), static_cast<off_t>(size)) != 0) {
    return nullptr;
  }
  void* view = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, descriptor,
                    static_cast<off_t>(offset));
  return view == MAP_FAILED ? nullptr : static_cast<char*>(view);
}

void unmapFileView(char* view, std::size_t size) { munmap(view, size); }

void FileHandle::close() {
  if (isOpen()) ::close(static_cast<int>(release()));
}

}  // namespace platform
