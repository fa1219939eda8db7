// What the fuzz targets share: a scratch directory for the files they write,
// reading back what the module wrote, and stopping on a broken property.
#ifndef LOGGER_FUZZ_FUZZ_SUPPORT_H_
#define LOGGER_FUZZ_FUZZ_SUPPORT_H_

#include <string>
#include <string_view>
#include <vector>

namespace fuzzing {

// A directory of this process's own, made on first use and removed at exit.
const std::string& scratchDirectory();

// Writes bytes into the file at path, replacing it.
void writeBytes(const std::string& path, std::string_view bytes);

// The whole content of the file at path.
std::string readBytes(const std::string& path);

// The paths of the files in directory whose names start with prefix.
std::vector<std::string> filesStartingWith(const std::string& directory, const std::string& prefix);

// Reports a broken property with what was expected and found, and aborts so
// that the fuzzer keeps the input.
[[noreturn]] void fail(const char* property, std::string_view expected, std::string_view found);

// Fails with property unless expected == found.
inline void expectEqual(const char* property, std::string_view expected, std::string_view found) {
  if (expected != found) fail(property, expected, found);
}

}  // namespace fuzzing

#endif  // LOGGER_FUZZ_FUZZ_SUPPORT_H_
