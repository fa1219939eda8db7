// An open file of the operating system's that closes itself.
#ifndef LOGGER_PLATFORM_FILE_HANDLE_H_
#define LOGGER_PLATFORM_FILE_HANDLE_H_

#include <cstdint>

namespace platform {

// Owns one open file, or none, and closes it when it goes out of scope, on
// every path out: a file opened within an operation is never left open by
// an exception. Movable, not copyable.
class FileHandle {
 public:
  // The platform's own handle, converted: a file descriptor or a HANDLE.
  using Native = intptr_t;

  // The native value that stands for no file.
  static constexpr Native kNone = -1;

  FileHandle() = default;
  explicit FileHandle(Native native) : native_(native) {}
  FileHandle(FileHandle&& other) noexcept : native_(other.release()) {}
  FileHandle& operator=(FileHandle&& other) noexcept {
    if (this != &other) {
      close();
      native_ = other.release();
    }
    return *this;
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() { close(); }

  // True while a file is held.
  bool isOpen() const { return native_ != kNone; }

  // The held file's native handle, kNone when none is held.
  Native native() const { return native_; }

  // Closes the held file, if any; afterwards none is held.
  void close();

 private:
  Native release() {
    const Native native = native_;
    native_ = kNone;
    return native;
  }

  Native native_ = kNone;
};

}  // namespace platform

#endif  // LOGGER_PLATFORM_FILE_HANDLE_H_
