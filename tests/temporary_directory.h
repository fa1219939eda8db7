// A fresh directory for one test, removed with everything in it afterwards.
#ifndef LOGGER_TESTS_TEMPORARY_DIRECTORY_H_
#define LOGGER_TESTS_TEMPORARY_DIRECTORY_H_

#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

class TemporaryDirectory {
 public:
  // Creates a new, empty directory under the system's temporary directory.
  TemporaryDirectory();
  ~TemporaryDirectory();
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // Writes bytes into the file name inside the directory; returns its path.
  std::filesystem::path write(const std::string& name, const std::string& bytes) const;

 private:
  std::filesystem::path path_;
};

// The whole content of the file at path; empty when it cannot be read.
std::string readFileBytes(const std::filesystem::path& path);

// The files in directory whose names start with prefix, sorted by name.
std::vector<std::filesystem::path> filesStartingWith(const std::filesystem::path& directory,
                                                     const std::string& prefix);

}  // namespace testing_support

#endif  // LOGGER_TESTS_TEMPORARY_DIRECTORY_H_
