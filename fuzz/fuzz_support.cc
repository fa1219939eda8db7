#include "fuzz/fuzz_support.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fuzzing {
namespace {

// Makes a fresh directory under the system's temporary directory and removes
// it with everything in it when the process exits normally.
class ScratchDirectory {
 public:
  ScratchDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "logger_fuzz_XXXXXX").string();
    if (!mkdtemp(pattern.data())) fail("a scratch directory can be made", pattern, "");
    path_ = pattern;
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Shows bytes with the unprintable ones escaped, shortened when long.
std::string printable(std::string_view bytes) {
  std::string shown;
  for (const char c : bytes.substr(0, 2000)) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte >= 32 && byte < 127) {
      shown += c;
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
      shown += escaped;
    }
  }
  if (bytes.size() > 2000) shown += "... (" + std::to_string(bytes.size()) + " bytes)";
  return shown;
}

}  // namespace

const std::string& scratchDirectory() {
  static const ScratchDirectory directory;
  return directory.path();
}

void writeBytes(const std::string& path, std::string_view bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file) fail("the file can be written", path, "");
}

std::string readBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::string> filesStartingWith(const std::string& directory,
                                           const std::string& prefix) {
  std::vector<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    if (entry.path().filename().string().rfind(prefix, 0) == 0) found.push_back(entry.path());
  }
  return found;
}

void fail(const char* property, std::string_view expected, std::string_view found) {
  std::fprintf(stderr, "\n*** broken: %s\n*** expected: %s\n*** found:    %s\n", property,
               printable(expected).c_str(), printable(found).c_str());
  std::abort();
}

}  // namespace fuzzing
